// One buffer's way through the signal steps, in the order it takes them.
#include "capture/signal/signal_path.h"

#include <algorithm>

#include "capture/signal/reduce.h"

namespace zembrit {
namespace {

int sampleBitsOf(SampleFormat format) { return format == SampleFormat::unsigned8 ? 8 : 16; }

// A one-channel 8- or 16-bit buffer is read where it lies; anything else is
// taken apart into the scratch.
MonoSamples channelOf(const SampleBuffer& buffer, int channel, uint32_t frames, ChannelScratch& scratch) {
    const SampleFormat format = buffer.layout.format;
    const bool readInPlace =
        buffer.layout.channels <= 1 && (format == SampleFormat::unsigned8 || format == SampleFormat::signed16);
    if (readInPlace) return {buffer.bytes, buffer.byteCount, sampleBitsOf(format)};
    return extractChannel(buffer.bytes, buffer.byteCount, buffer.layout, channel, frames, scratch);
}

// Both channels' peak, so that two traces share one scale.
float gainFor(const SampleSpan& span, int32_t leftPeak, bool twoChannels, float seconds, AutoGain& gain) {
    const int32_t peak = twoChannels ? std::max(leftPeak, peakLevel(span.right, span.start, span.count)) : leftPeak;
    return followPeak(gain, peak, seconds);
}

}  // namespace

uint32_t framesPerBuffer(int points, SampleFormat format, bool trigger) {
    return spanSamples(points, sampleBitsOf(format)) * (trigger ? 2 : 1);
}

SampleSpan selectSpan(const SampleBuffer& buffer, int points, const SignalOptions& options, SignalState& state) {
    // The channels.
    const uint32_t frames = framesPerBuffer(points, buffer.layout.format, options.trigger);
    const MonoSamples left = channelOf(buffer, 0, frames, state.left);
    const bool twoChannels = options.channels != ChannelMode::mono && buffer.layout.channels > 1;
    const MonoSamples right = twoChannels ? channelOf(buffer, 1, frames, state.right) : left;

    // The trigger.
    const uint32_t length = spanSamples(points, left.sampleBits);
    const uint32_t start = options.trigger ? triggerStart(left, length, state.trigger) : 0;
    SampleSpan span{left, right, start, std::min(length, sampleCount(left) - start), options.autoGain, 1.0f};
    if (!options.trigger && !options.autoGain) return span;
    const int32_t leftPeak = peakLevel(left, start, span.count);
    if (options.trigger) rememberPeak(state.trigger, leftPeak);

    // The gain.
    if (options.autoGain) span.gain = gainFor(span, leftPeak, twoChannels, buffer.seconds, state.gain);
    return span;
}

void reduceSpanInto(const SampleSpan& span, const MonoSamples& channel, int points, int32_t dimension, TraceRow& row) {
    const uint32_t offset = std::min(span.start * (channel.sampleBits <= 8 ? 1u : 2u), channel.byteCount);
    const ReductionInput in{channel.bytes + offset, channel.byteCount - offset, points, channel.sampleBits, dimension};
    if (span.autoGain)
        reduceWithGain(in, span.gain, row);
    else
        reduceInto(in, row);
}

void storeXyFigure(const SampleSpan& span, XyFigure& figure) {
    const uint32_t available = std::min(sampleCount(span.left), sampleCount(span.right));
    const uint32_t end = std::min(span.start + span.count, available);
    const uint32_t count = std::min<uint32_t>(end > span.start ? end - span.start : 0, kMaxXyPairs);
    for (uint32_t i = 0; i < count; ++i)
        figure.pairs[i] = packLevels(levelAt(span.left, span.start + i), levelAt(span.right, span.start + i));
    figure.count = static_cast<int32_t>(count);
    figure.gain = span.gain;
}

void traceBuffer(const SampleBuffer& buffer, const TraceShape& shape, const SignalOptions& options, SignalState& state,
                 TracePicture& picture) {
    const SampleSpan span = selectSpan(buffer, shape.points, options, state);
    reduceSpanInto(span, span.left, shape.points, shape.dimension, picture.left);
    if (options.channels == ChannelMode::stereo)
        reduceSpanInto(span, span.right, shape.points, shape.dimension, picture.right);
    else if (options.channels == ChannelMode::xy)
        storeXyFigure(span, picture.figure);
}

}  // namespace zembrit
