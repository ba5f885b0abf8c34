#pragma once
// Interleaved 32-bit float frames, as a WASAPI source delivers them, for the
// tests and benchmarks of the signal core.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

namespace zembrit_test {

// Channel c of frame f is level(f, c), 1.0 at full scale.
template <class Level>
std::vector<uint8_t> floatFrames(uint32_t frames, int channels, Level level) {
    std::vector<uint8_t> bytes(frames * static_cast<uint32_t>(channels) * sizeof(float));
    for (uint32_t f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            const auto value = static_cast<float>(level(f, c));
            std::memcpy(&bytes[(f * static_cast<uint32_t>(channels) + static_cast<uint32_t>(c)) * sizeof value], &value,
                        sizeof value);
        }
    }
    return bytes;
}

inline double sineAt(double hz, uint32_t framesPerSecond, uint64_t frame) {
    return std::sin(2 * std::numbers::pi * hz * static_cast<double>(frame) / framesPerSecond);
}

}  // namespace zembrit_test
