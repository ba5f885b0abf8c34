#pragma once
#include <array>
#include <cstdint>

#include "capture/signal/trace_points.h"

// Sample formats and channels: what a source delivers, and one channel of it
// in the form the reduction reads. Wave-in gives 8-bit unsigned or 16-bit
// signed PCM; a WASAPI engine may give 24- or 32-bit integers or floats,
// which become 16-bit here.
namespace zembrit {

enum class SampleFormat : uint8_t { unsigned8, signed16, signed24, signed32, float32 };

struct SourceLayout {
    SampleFormat format;
    int channels;                  // interleaved frames of this many samples; below 1 counts as 1
    uint32_t framesPerSecond = 0;  // 0 where nothing needs it: the spectrum and the meter do
};

// A PCM depth as wave-in records it: 8 bits and fewer are unsigned bytes,
// deeper samples signed little endian in whole bytes.
SampleFormat pcmFormat(int sampleBits);

uint32_t bytesPerFrame(const SourceLayout& layout);
uint32_t bytesPerSample(SampleFormat format);

// Silence of an unsigned 8-bit sample.
constexpr int kUnsignedSilence = 128;

inline int32_t littleEndian16(const uint8_t* low) {
    return static_cast<int16_t>(static_cast<uint16_t>(low[0] | (low[1] << 8)));
}

// A sample as the reduction reads it (8-bit unsigned, or 16-bit signed
// little endian) as a 16-bit level: an 8-bit sample fills the upper byte.
inline int32_t pcmLevel(const uint8_t* sample, int sampleBits) {
    return sampleBits <= 8 ? (sample[0] - kUnsignedSilence) * 256 : littleEndian16(sample);
}

// The same sample's upper byte, -128 to 127: all the fixed scale reads.
inline int pcmAmplitude(const uint8_t* sample, int sampleBits) {
    return sampleBits <= 8 ? sample[0] - kUnsignedSilence : static_cast<int8_t>(sample[1]);
}

// A signed sample of any depth but 8 bits as a 16-bit level: the top 16 bits
// of an integer, a float at 32768 per 1.0, clipped.
int32_t sixteenBitLevel(const uint8_t* sample, SampleFormat format);

// A sample of any format at 1.0 per full scale, for measuring: integers by
// their whole depth (an 8-bit sample about its silence), floats as they are
// (not a number reads 0).
float unitLevel(const uint8_t* sample, SampleFormat format);

// Whether a sample sits at full scale: an integer at either extreme of its
// depth, a float at a magnitude of 1.0 or more.
bool atFullScale(const uint8_t* sample, SampleFormat format);

// One channel as the reduction reads it: 8-bit unsigned (sampleBits 8) or
// 16-bit signed little endian (sampleBits 16).
struct MonoSamples {
    const uint8_t* bytes;
    uint32_t byteCount;
    int sampleBits;
};

// The magnitude of a full-scale level: levels run from -32768 to 32767.
constexpr int32_t kFullScale = 32768;

uint32_t sampleCount(const MonoSamples& samples);

// Sample index as a 16-bit level; an 8-bit sample fills the upper byte.
// index must lie below sampleCount.
int32_t levelAt(const MonoSamples& samples, uint32_t index);

// The largest magnitude among count samples from start, within the samples.
int32_t peakLevel(const MonoSamples& samples, uint32_t start, uint32_t count);

// Samples one trace span holds: points * 16 bytes of one channel, so an
// 8-bit span holds twice as many as a 16-bit one.
uint32_t spanSamples(int points, int sampleBits);

// One channel of two trace spans, the most a triggered source delivers.
constexpr uint32_t kChannelCapacity = 2 * kMaxPoints * kBytesPerPoint;
using ChannelScratch = std::array<uint8_t, kChannelCapacity>;

// Copies channel `channel` (clamped to the layout's) of at most maxFrames
// whole frames into scratch: 8-bit stays 8-bit, deeper formats become 16-bit
// (the top 16 bits; floats at 32768 per 1.0, clipped). What does not fit
// the scratch is left out.
MonoSamples extractChannel(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout, int channel,
                           uint32_t maxFrames, ChannelScratch& scratch);

}  // namespace zembrit
