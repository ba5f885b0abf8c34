#pragma once
// How the spectrum's bars and the meter's levels move from frame to frame,
// by the clock and never by the frame: a level rises at once and falls at
// its rate; a held mark climbs with it, waits, then falls.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "capture/signal/bar_picture.h"

namespace zembrit {

// Far below any scale's floor: silence, and what stands before the first frame.
inline constexpr float kSilentDb = -200.0f;

// levelDb, or what fromDb fell to in elapsedMs, whichever is higher.
inline float riseOrFall(float fromDb, float levelDb, uint32_t elapsedMs, float fallDbPerSecond) {
    return std::max(levelDb, fromDb - fallDbPerSecond * static_cast<float>(elapsedMs) / 1000.0f);
}

// A mark held at a level's highest: it climbs with the level, stays holdMs
// from its last climb, then falls at its rate, never below the level.
struct HeldMark {
    float db = kSilentDb;
    uint32_t holdLeftMs = 0;

    void follow(float levelDb, uint32_t elapsedMs, uint32_t holdMs, float fallDbPerSecond) {
        if (levelDb >= db) {
            db = levelDb;
            holdLeftMs = holdMs;
            return;
        }
        const uint32_t heldMs = std::min(elapsedMs, holdLeftMs);
        holdLeftMs -= heldMs;
        db = riseOrFall(db, levelDb, elapsedMs - heldMs, fallDbPerSecond);
    }
};

// A level as a height on a scale from floorDb (0) to 0 dBFS (kFullHeight).
inline int32_t heightOf(float db, float floorDb) {
    const float share = (db - floorDb) / -floorDb;
    return static_cast<int32_t>(std::lround(std::clamp(share, 0.0f, 1.0f) * static_cast<float>(kFullHeight)));
}

}  // namespace zembrit
