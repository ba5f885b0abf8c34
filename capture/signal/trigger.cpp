#include "capture/signal/trigger.h"

#include <algorithm>

namespace zembrit {
namespace {

// The hysteresis is 15% of the recent peak, and never under 1/64 of full
// scale, so that a quiet input's hiss does not fire the trigger by itself.
constexpr int32_t kHysteresisPercent = 15;
constexpr int32_t kHysteresisFloor = kFullScale / 64;

int32_t hysteresis(const TriggerMemory& memory) {
    return std::max(memory.recentPeak / 100 * kHysteresisPercent, kHysteresisFloor);
}

}  // namespace

uint32_t triggerStart(const MonoSamples& samples, uint32_t length, const TriggerMemory& memory) {
    const uint32_t count = sampleCount(samples);
    if (length == 0 || count <= length) return 0;
    const uint32_t lastStart = std::min(length - 1, count - length);
    // Pairs of samples sum to twice a level, so the arming bound doubles too.
    const int32_t armBelow = -2 * hysteresis(memory);
    bool armed = false;
    int32_t previous = levelAt(samples, 0);
    for (uint32_t i = 1; i <= lastStart; ++i) {
        const int32_t current = levelAt(samples, i);
        const int32_t pair = previous + current;
        if (pair < armBelow)
            armed = true;
        else if (armed && pair >= 0)
            return i;
        previous = current;
    }
    return 0;
}

void rememberPeak(TriggerMemory& memory, int32_t spanPeak) {
    memory.recentPeak = std::max(spanPeak, memory.recentPeak - memory.recentPeak / 4);
}

}  // namespace zembrit
