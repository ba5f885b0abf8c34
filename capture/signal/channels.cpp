#include "capture/signal/channels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace zembrit {
namespace {

float float32At(const uint8_t* sample) {
    float value;
    std::memcpy(&value, sample, sizeof value);
    return value;
}

int32_t littleEndian24(const uint8_t* low) {
    const auto bits = static_cast<uint32_t>(low[0] | (low[1] << 8) | (low[2] << 16)) << 8;
    return static_cast<int32_t>(bits) / 256;  // the sign carried down
}

int32_t littleEndian32(const uint8_t* low) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | low[i];
    return static_cast<int32_t>(bits);
}

int32_t floatLevel(const uint8_t* sample) {
    const float value = float32At(sample);
    const float scaled = value * static_cast<float>(kFullScale);
    if (std::isnan(scaled)) return 0;
    return static_cast<int32_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

uint32_t bytesPerSample(const MonoSamples& samples) { return samples.sampleBits <= 8 ? 1 : 2; }

}  // namespace

int32_t sixteenBitLevel(const uint8_t* sample, SampleFormat format) {
    switch (format) {
    case SampleFormat::signed24: return littleEndian16(sample + 1);
    case SampleFormat::signed32: return littleEndian16(sample + 2);
    case SampleFormat::float32: return floatLevel(sample);
    default: return littleEndian16(sample);
    }
}

float unitLevel(const uint8_t* sample, SampleFormat format) {
    switch (format) {
    case SampleFormat::unsigned8: return static_cast<float>(sample[0] - kUnsignedSilence) / 128.0f;
    case SampleFormat::signed16: return static_cast<float>(littleEndian16(sample)) / 32768.0f;
    case SampleFormat::signed24: return static_cast<float>(littleEndian24(sample)) / 8388608.0f;
    case SampleFormat::signed32: return static_cast<float>(littleEndian32(sample) / 2147483648.0);
    default: {
        const float value = float32At(sample);
        return std::isnan(value) ? 0.0f : value;
    }
    }
}

bool atFullScale(const uint8_t* sample, SampleFormat format) {
    switch (format) {
    case SampleFormat::unsigned8: return sample[0] == 0 || sample[0] == 255;
    case SampleFormat::signed16: {
        const int32_t value = littleEndian16(sample);
        return value == INT16_MIN || value == INT16_MAX;
    }
    case SampleFormat::signed24: {
        const int32_t value = littleEndian24(sample);
        return value == -8388608 || value == 8388607;
    }
    case SampleFormat::signed32: {
        const int32_t value = littleEndian32(sample);
        return value == INT32_MIN || value == INT32_MAX;
    }
    default: return std::fabs(float32At(sample)) >= 1.0f;
    }
}

uint32_t bytesPerSample(SampleFormat format) {
    switch (format) {
    case SampleFormat::unsigned8: return 1;
    case SampleFormat::signed16: return 2;
    case SampleFormat::signed24: return 3;
    default: return 4;
    }
}

SampleFormat pcmFormat(int sampleBits) {
    if (sampleBits <= 8) return SampleFormat::unsigned8;
    if (sampleBits <= 16) return SampleFormat::signed16;
    return sampleBits <= 24 ? SampleFormat::signed24 : SampleFormat::signed32;
}

uint32_t bytesPerFrame(const SourceLayout& layout) {
    return bytesPerSample(layout.format) * static_cast<uint32_t>(std::max(layout.channels, 1));
}

uint32_t sampleCount(const MonoSamples& samples) { return samples.byteCount / bytesPerSample(samples); }

int32_t levelAt(const MonoSamples& samples, uint32_t index) {
    return pcmLevel(samples.bytes + bytesPerSample(samples) * index, samples.sampleBits);
}

int32_t peakLevel(const MonoSamples& samples, uint32_t start, uint32_t count) {
    const uint32_t total = sampleCount(samples);
    if (start >= total) return 0;
    const uint32_t end = start + std::min(count, total - start);
    int32_t peak = 0;
    for (uint32_t i = start; i < end; ++i) peak = std::max(peak, std::abs(levelAt(samples, i)));
    return peak;
}

uint32_t spanSamples(int points, int sampleBits) {
    const auto bytes = static_cast<uint32_t>(std::clamp(points, kMinPoints, kMaxPoints) * kBytesPerPoint);
    return sampleBits <= 8 ? bytes : bytes / 2;
}

MonoSamples extractChannel(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout, int channel,
                           uint32_t maxFrames, ChannelScratch& scratch) {
    const uint32_t frameBytes = bytesPerFrame(layout);
    const bool eightBit = layout.format == SampleFormat::unsigned8;
    const uint32_t outBytes = eightBit ? 1 : 2;
    const uint32_t frames = std::min({byteCount / frameBytes, maxFrames, kChannelCapacity / outBytes});
    if (frames == 0) return {scratch.data(), 0, eightBit ? 8 : 16};  // bytes may be null then
    const int lastChannel = std::max(layout.channels, 1) - 1;
    const uint8_t* sample = bytes + bytesPerSample(layout.format) * std::clamp(channel, 0, lastChannel);
    for (uint32_t f = 0; f < frames; ++f, sample += frameBytes) {
        if (eightBit) {
            scratch[f] = *sample;
            continue;
        }
        const auto level = static_cast<uint16_t>(sixteenBitLevel(sample, layout.format));
        scratch[2 * f] = static_cast<uint8_t>(level & 0xFF);
        scratch[2 * f + 1] = static_cast<uint8_t>(level >> 8);
    }
    return {scratch.data(), frames * outBytes, eightBit ? 8 : 16};
}

}  // namespace zembrit
