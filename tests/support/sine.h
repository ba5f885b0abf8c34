#pragma once
// A sine as 16-bit levels, for the native and the Wine tests alike.
#include <cmath>
#include <cstdint>
#include <vector>

namespace zembrit_test {

// 32767 sin(f * radiansPerFrame + phase) for each frame f, rounded. The
// default step turns a cycle in about 21 frames, several to a short window.
inline std::vector<int16_t> sineLevels(int frames, double radiansPerFrame = 0.3, double phase = 0) {
    std::vector<int16_t> levels;
    for (int f = 0; f < frames; ++f)
        levels.push_back(static_cast<int16_t>(std::lround(32767 * std::sin(f * radiansPerFrame + phase))));
    return levels;
}

}  // namespace zembrit_test
