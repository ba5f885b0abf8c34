#pragma once
#include <cstdint>

#include "capture/signal/channels.h"

// The rising-edge trigger: where in a buffer the trace starts, so that a
// periodic signal stands still from one buffer to the next.
namespace zembrit {

// The level the trigger's hysteresis is measured against; owned by the
// caller and kept from one buffer to the next. Starts at silence.
struct TriggerMemory {
    int32_t recentPeak = 0;
};

// The first sample of a rising crossing of the centre line among the first
// `length` samples that still has a whole span after it, or 0 (the trace
// runs free) when there is none. The crossing arms once the signal falls
// below minus the hysteresis and fires where it is back at or above 0. The
// signal is judged by each sample with its predecessor, which halves the
// noise's power and keeps one noisy sample from firing on a falling slope.
// Reads at most `length` samples.
uint32_t triggerStart(const MonoSamples& samples, uint32_t length, const TriggerMemory& memory);

// Learns the peak of the span just shown; an older louder peak fades by a
// quarter per buffer.
void rememberPeak(TriggerMemory& memory, int32_t spanPeak);

}  // namespace zembrit
