#pragma once
#include <array>
#include <cstdint>

#include "capture/signal/relaxed.h"

// The spectrum and the level meter as the capture thread leaves them for the
// paint. Every element is written whole: a paint may mix two frames' values,
// never see a torn one.
namespace zembrit {

inline constexpr int kMinBands = 4;
inline constexpr int kMaxBands = 256;

// A bar's or a level's height: 0 at the floor of its scale (or below it),
// kFullHeight at 0 dBFS, in proportion to the decibels between; never more.
inline constexpr int32_t kFullHeight = 10000;

// One channel's bands, lowest frequency first.
struct SpectrumBars {
    std::array<Relaxed<int32_t>, kMaxBands> bars{};
    std::array<Relaxed<int32_t>, kMaxBands> peaks{};  // the held peak marks; 0 without a peak hold
};

struct SpectrumPicture {
    Relaxed<int32_t> count{0};  // the bands shown, kMinBands to kMaxBands; 0 before the first frame
    SpectrumBars left;          // the left channel's in stereo, else both channels' mix
    SpectrumBars right;         // the right channel's in stereo
};

// One channel's level on the meter's scale, -60 to 0 dBFS.
struct ChannelLevel {
    Relaxed<int32_t> peak{0};     // the sample peak, rising at once, falling by the clock
    Relaxed<int32_t> rms{0};      // over the last 300 ms
    Relaxed<int32_t> hold{0};     // the held peak mark
    Relaxed<int32_t> clipped{0};  // 1 while the clip mark is lit
};

struct LevelPicture {
    Relaxed<int32_t> channels{0};  // 1 or 2 (the first two of a source's); 0 before the first frame
    std::array<ChannelLevel, 2> channel{};
};

}  // namespace zembrit
