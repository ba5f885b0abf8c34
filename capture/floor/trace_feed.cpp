// The latest picture and the feed that writes it.
#include "capture/floor/trace_feed.h"

#include <windows.h>

#include "capture/floor/core_options.h"
#include "capture/latest_trace.h"
#include "capture/signal/reduce.h"
#include "settings/settings_store.h"

namespace zembrit {
namespace {

TracePicture latest;
Relaxed<uint32_t> lastRepaintTick;  // written by the running capture's thread

bool claimRepaintWhenDue() {
    const auto interval = static_cast<uint32_t>(settings().frameIntervalMs.load());
    if (!repaintDue(GetTickCount(), lastRepaintTick, interval)) return false;
    lastRepaintTick = GetTickCount();
    return true;
}

}  // namespace

const TracePicture& latestPicture() { return latest; }
TracePicture& writablePicture() { return latest; }

void resetTrace() {
    lastRepaintTick = GetTickCount();
    clear(latest);
}

TraceFeed::TraceFeed(const SignalOptions& options, LevelsFrom levels) : options_(options), levels_(levels) {
    if (options.view == PictureView::spectrum) spectrum_.emplace();
}

bool TraceFeed::show(const SampleBuffer& buffer) {
    TracePicture& picture = options_.delayMs <= 0 ? latest : made_;
    take(buffer, picture);
    if (!claimRepaintWhenDue()) return false;
    const uint32_t now = GetTickCount();
    finishFrame(now, picture);
    return options_.delayMs <= 0 || showDelayed(now);
}

// Every buffer: the trace is reduced, the spectrum's ring and the meter fed.
void TraceFeed::take(const SampleBuffer& buffer, TracePicture& picture) {
    if (spectrum_)
        spectrum_->take(buffer.bytes, buffer.byteCount, buffer.layout, buffer.layout.framesPerSecond);
    else
        traceBuffer(buffer, traceShapeOf(settings()), options_, state_, picture);
    if (options_.meter && levels_ == LevelsFrom::buffers)
        meter_.take(buffer.bytes, buffer.byteCount, buffer.layout, buffer.layout.framesPerSecond);
}

void TraceFeed::takeLevels(const uint8_t* bytes, uint32_t frames, const SourceLayout& format) {
    if (!options_.meter || levels_ != LevelsFrom::packets) return;
    if (bytes)
        meter_.take(bytes, frames * bytesPerFrame(format), format, format.framesPerSecond);
    else
        meter_.takeSilence(frames, format.channels, format.framesPerSecond);
}

// Once a frame: the transform, and the levels as of now.
void TraceFeed::finishFrame(uint32_t now, TracePicture& picture) {
    if (spectrum_) spectrum_->analyse(now, spectrumRequestOf(settings(), options_), picture.spectrum);
    if (options_.meter) meter_.show(now, picture.levels);
}

// Each due picture is held; the one whose delay has passed is shown.
bool TraceFeed::showDelayed(uint32_t now) {
    delay_.push(now, made_, options_.delayMs, settings().frameIntervalMs);
    return delay_.publishDue(now, latest);
}

}  // namespace zembrit
