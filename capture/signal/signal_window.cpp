#include "capture/signal/signal_window.h"

#include <algorithm>

#include "capture/signal/reduce.h"

namespace zembrit {
namespace {

int sampleBitsOf(SampleFormat format) { return format == SampleFormat::unsigned8 ? 8 : 16; }

// A one-channel 8- or 16-bit buffer is read where it lies; anything else is
// taken apart into the scratch.
MonoSamples channelOf(const SignalSource& source, int channel, uint32_t frames, ChannelScratch& scratch) {
    const SampleFormat format = source.layout.format;
    const bool readInPlace =
        source.layout.channels <= 1 && (format == SampleFormat::unsigned8 || format == SampleFormat::signed16);
    if (readInPlace) return {source.bytes, source.byteCount, sampleBitsOf(format)};
    return extractChannel(source.bytes, source.byteCount, source.layout, channel, frames, scratch);
}

}  // namespace

uint32_t framesPerBuffer(int points, SampleFormat format, bool trigger) {
    return windowSamples(points, sampleBitsOf(format)) * (trigger ? 2 : 1);
}

SignalWindow selectWindow(const SignalSource& source, int points, const SignalOptions& options, SignalState& state) {
    const uint32_t frames = framesPerBuffer(points, source.layout.format, options.trigger);
    const MonoSamples left = channelOf(source, 0, frames, state.left);
    const bool twoChannels = options.channels != ChannelMode::mono && source.layout.channels > 1;
    const MonoSamples right = twoChannels ? channelOf(source, 1, frames, state.right) : left;

    const uint32_t window = windowSamples(points, left.sampleBits);
    const uint32_t start = options.trigger ? triggerStart(left, window, state.trigger) : 0;
    const uint32_t count = std::min(window, sampleCount(left) - start);
    SignalWindow shown{left, right, start, count, options.autoGain, 1.0f};
    if (!options.trigger && !options.autoGain) return shown;

    const int32_t leftPeak = peakLevel(left, start, count);
    if (options.trigger) rememberPeak(state.trigger, leftPeak);
    if (options.autoGain) {
        const int32_t peak = twoChannels ? std::max(leftPeak, peakLevel(right, start, count)) : leftPeak;
        shown.gain = followPeak(state.gain, peak, source.seconds);
    }
    return shown;
}

void reduceWindowInto(const SignalWindow& window, const MonoSamples& channel, int points, int32_t dimension,
                      TraceRow& row) {
    const uint32_t offset = std::min(window.start * (channel.sampleBits <= 8 ? 1u : 2u), channel.byteCount);
    const ReductionInput in{channel.bytes + offset, channel.byteCount - offset, points, channel.sampleBits, dimension};
    if (window.autoGain)
        reduceWithGain(in, window.gain, row);
    else
        reduceInto(in, row);
}

}  // namespace zembrit
