#include "capture/wave_in/recording_format.h"

namespace zembrit {
namespace {

// 44 kHz records 44,000 samples a second, not 44,100.
constexpr uint32_t kSamplesPerKiloHertz = 1000;
// The highest rate any wave-in device offers. It also keeps the rate and
// the byte rate within 32 bits: a wrapped rate is one a driver may take and
// then never hand the buffer back from.
constexpr int32_t kHighestKiloHertz = 384;
constexpr int32_t kHighestBits = 32;
constexpr uint16_t kChannels = 1;

}  // namespace

std::optional<RecordingFormat> recordingFormatFor(int32_t kiloHertz, int32_t bits) {
    if (kiloHertz < 1 || kiloHertz > kHighestKiloHertz || bits < 1 || bits > kHighestBits) return std::nullopt;
    RecordingFormat format{};
    format.samplesPerSecond = static_cast<uint32_t>(kiloHertz) * kSamplesPerKiloHertz;
    // Rounded down: 12 bits give 1 byte, and whether that records is the device's call.
    format.blockAlign = static_cast<uint16_t>(kChannels * (bits / 8));
    format.bytesPerSecond = format.samplesPerSecond * format.blockAlign;
    format.bitsPerSample = static_cast<uint16_t>(bits);
    return format;
}

}  // namespace zembrit
