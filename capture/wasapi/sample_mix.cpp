#include "capture/wasapi/sample_mix.h"

#include <algorithm>

namespace zembrit {

std::optional<SourceLayout> mixFormatFor(FormatTag tag, int containerBits, int channels, uint32_t blockAlign) {
    if (channels < 1 || channels > kMaxMixChannels) return std::nullopt;
    std::optional<SampleFormat> format;
    if (tag == FormatTag::ieeeFloat && containerBits == 32) format = SampleFormat::float32;
    if (tag == FormatTag::pcm) {
        if (containerBits == 16) format = SampleFormat::signed16;
        if (containerBits == 24) format = SampleFormat::signed24;
        if (containerBits == 32) format = SampleFormat::signed32;
    }
    if (!format) return std::nullopt;
    const SourceLayout mix{*format, channels};
    if (bytesPerFrame(mix) != blockAlign) return std::nullopt;
    return mix;
}

void mixFrames(const uint8_t* bytes, uint32_t frameCount, const SourceLayout& format, MixMode mode, int16_t* out) {
    const uint32_t sampleBytes = bytesPerSample(format.format);
    const auto channels = static_cast<uint32_t>(format.channels);
    for (uint32_t f = 0; f < frameCount; ++f, bytes += sampleBytes * channels) {
        if (mode == MixMode::firstTwo) {
            *out++ = static_cast<int16_t>(sixteenBitLevel(bytes, format.format));
            *out++ = static_cast<int16_t>(sixteenBitLevel(bytes + (channels > 1 ? sampleBytes : 0), format.format));
            continue;
        }
        int32_t sum = 0;
        for (uint32_t c = 0; c < channels; ++c) sum += sixteenBitLevel(bytes + c * sampleBytes, format.format);
        *out++ = static_cast<int16_t>(sum / static_cast<int32_t>(channels));
    }
}

void SpanAccumulator::reset(int points, MixMode mode, bool doubled) {
    mode_ = mode;
    spanFrames_ =
        static_cast<uint32_t>(std::clamp(points, kMinPoints, kMaxPoints)) * kSamplesPerPoint * (doubled ? 2u : 1u);
    filled_ = 0;
}

}  // namespace zembrit
