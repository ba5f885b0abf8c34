// The capture side of the reduction: the buffer in, the trace rows and the
// time of the repaint request out.
#include "capture/wave_in/reduce_buffer.h"

#include <algorithm>

#include "capture/signal/reduce.h"
#include "settings/settings_store.h"

namespace zembrit {

namespace {

bool claimRepaintWhenDue() {
    const auto interval = static_cast<uint32_t>(settings().frameIntervalMs.load());
    if (!repaintDue(GetTickCount(), lastRedrawTick(), interval)) return false;
    lastRedrawTick() = GetTickCount();
    return true;
}

float secondsOf(uint32_t bytes, const CaptureBuffer& buffer) {
    if (buffer.framesPerSecond == 0) return 0.0f;
    return static_cast<float>(bytes / bytesPerFrame(buffer.layout)) / static_cast<float>(buffer.framesPerSecond);
}

void reduceInto(const SignalWindow& window, const ReductionInput& shape, ChannelMode channels, TraceRow& left,
                TraceRow& right, XyFigure& figure) {
    reduceWindowInto(window, window.left, shape.points, shape.dimension, left);
    if (channels == ChannelMode::stereo)
        reduceWindowInto(window, window.right, shape.points, shape.dimension, right);
    else if (channels == ChannelMode::xy)
        storeXyFigure(window, figure);
}

// Each due picture is held; the one whose delay has passed is shown.
bool showDelayed(DelayLine& delay, const SignalOptions& options) {
    if (!claimRepaintWhenDue()) return false;
    const uint32_t now = GetTickCount();
    const bool xy = options.channels == ChannelMode::xy;
    delay.push(now, options.delayMs, settings().frameIntervalMs, xy);
    return delay.publishDue(now, traceRow(), rightTraceRow(), xy ? &xyFigure() : nullptr);
}

}  // namespace

bool showWindow(const SignalSource& source, const SignalOptions& options, SignalState& state, DelayLine& delay) {
    // Points and size read once, as for any reduction.
    const ReductionInput shape = reductionInputFor(settings(), source.bytes, source.byteCount, 0);
    const SignalWindow window = selectWindow(source, shape.points, options, state);
    if (options.delayMs <= 0) {
        reduceInto(window, shape, options.channels, traceRow(), rightTraceRow(), xyFigure());
        return claimRepaintWhenDue();
    }
    reduceInto(window, shape, options.channels, delay.left, delay.right, delay.figure);
    return showDelayed(delay, options);
}

bool reduceBuffer(CaptureBuffer& buffer) {
    // A driver's byte count is never trusted beyond the buffer it was given.
    const DWORD recorded = std::min(buffer.header.dwBytesRecorded, buffer.header.dwBufferLength);
    const auto* bytes = reinterpret_cast<const uint8_t*>(buffer.header.lpData);
    return showWindow(SignalSource{bytes, recorded, buffer.layout, secondsOf(recorded, buffer)}, buffer.options,
                      buffer.signal, buffer.delay);
}

}  // namespace zembrit
