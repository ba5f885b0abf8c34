#pragma once
// The level meter: each of the first two channels' sample peak (rising at
// once, falling 20 dB in 1.7 s), its RMS over the last 300 ms, a peak mark
// held 1.5 s (then falling 20 dB a second) and a clip mark lit for 2 s after
// a sample reached full scale, on a scale from -60 to 0 dBFS. Levels are the
// samples' as the source delivered them, before any gain.
// Portable and allocation-free. One per capture, used by one thread.
#include <array>
#include <cstdint>

#include "capture/signal/channels.h"
#include "capture/signal/spectrum_bars.h"

namespace zembrit {

class LevelMeter {
public:
    static constexpr float kFloorDb = -60.0f;
    static constexpr float kPeakFallDbPerSecond = 20.0f / 1.7f;
    static constexpr uint32_t kRmsWindowMs = 300;
    static constexpr uint32_t kHoldMs = 1500;
    static constexpr float kHoldFallDbPerSecond = 20.0f;
    static constexpr uint32_t kClipMs = 2000;

    // Measures the buffer's frames. A rate of 0 measures nothing.
    void take(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout, uint32_t framesPerSecond);

    // The levels as of nowMs (a tick count; its wrap is survived).
    void show(uint32_t nowMs, LevelPicture& picture);

private:
    struct Channel;  // defined in level_meter.cpp
    // The helper that implements this class replaces this line with its
    // fixed-size state (no allocation); the interface above stays.
};

}  // namespace zembrit
