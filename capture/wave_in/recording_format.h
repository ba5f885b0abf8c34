#pragma once
#include <cstdint>
#include <optional>

namespace zembrit {

// The mono PCM format a capture asks the device for.
struct RecordingFormat {
    uint32_t samplesPerSecond;
    uint32_t bytesPerSecond;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
};

// The format for the stored rate (kHz) and depth (bits), or nothing for
// values no device records: a rate outside 1 to 384 kHz, or a depth outside
// 1 to 32 bits. Such a value is refused as the device would refuse it.
std::optional<RecordingFormat> recordingFormatFor(int32_t kiloHertz, int32_t bits);

}  // namespace zembrit
