#pragma once
#include <cstdint>

// The automatic gain: a scale that follows the signal's recent peak, so
// quiet input fills the window and loud input stays inside it.
namespace zembrit {

// The most the automatic gain magnifies, over the fixed scale: beyond it,
// silence would show as magnified noise.
constexpr float kMaxAutoGain = 16.0f;

// The remembered peak level (0 to 32768); owned by the caller and kept from
// one buffer to the next. Starts at silence.
struct AutoGain {
    float peakMemory = 0.0f;
};

// Follows the peak of the span about to be shown, `seconds` after the
// previous one, and returns the gain over the fixed scale that puts the
// remembered peak at 80% of the half-height, at most kMaxAutoGain. A louder
// peak takes over at once, so nothing shown goes past the window's edge; the memory
// of a louder one halves every 2 s.
float followPeak(AutoGain& state, int32_t spanPeak, float seconds);

}  // namespace zembrit
