#include "capture/wave_in/wave_in_layout.h"

namespace zembrit {

SourceLayout waveInLayout(int32_t sampleBits, const SignalOptions& options) {
    const bool plain = !options.trigger && !options.autoGain && options.channels == ChannelMode::mono;
    if (plain) return {sampleBits <= 8 ? SampleFormat::unsigned8 : SampleFormat::signed16, 1};
    return {pcmFormat(sampleBits), options.channels == ChannelMode::mono ? 1 : 2};
}

uint32_t waveInBufferBytes(int32_t points, const SourceLayout& layout, bool trigger) {
    return framesPerBuffer(points, layout.format, trigger) * bytesPerFrame(layout);
}

}  // namespace zembrit
