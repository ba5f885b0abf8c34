#include "capture/signal/auto_gain.h"

#include <algorithm>
#include <cmath>

#include "capture/signal/channels.h"

namespace zembrit {
namespace {

constexpr float kTargetFill = 0.8f;      // of the half-height
constexpr float kHalvingSeconds = 2.0f;  // how fast a quieter signal is brought back up

}  // namespace

float followPeak(AutoGain& state, int32_t spanPeak, float seconds) {
    const float elapsed = seconds > 0.0f ? seconds : 0.0f;  // a NaN counts as no time
    const float faded = state.peakMemory * std::exp2(-elapsed / kHalvingSeconds);
    state.peakMemory = std::max(static_cast<float>(spanPeak), faded);
    const float target = kTargetFill * static_cast<float>(kFullScale);
    if (state.peakMemory * kMaxAutoGain <= target) return kMaxAutoGain;
    return target / state.peakMemory;
}

}  // namespace zembrit
