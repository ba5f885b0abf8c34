#pragma once
#include <cstdint>

#include "capture/signal/auto_gain.h"
#include "capture/signal/channels.h"
#include "capture/signal/trace_points.h"
#include "capture/signal/trigger.h"
#include "settings/signal_settings.h"

// The signal steps between a captured buffer and its reduction: the
// channels to show, where the trace starts (trigger) and at what scale
// (automatic gain). With every option off a one-channel 8- or 16-bit buffer
// is reduced from the same bytes as before, so the trace is unchanged. A
// deeper or float format is first converted to 16 bits, where reduceInto
// would read each group's bytes 8 and 9 as one 16-bit sample.
namespace zembrit {

// One buffer as the source delivered it.
struct SignalSource {
    const uint8_t* bytes;
    uint32_t byteCount;
    SourceLayout layout;
    float seconds;  // the time the buffer covers; paces the automatic gain's fall
};

// What the signal steps remember from buffer to buffer, and room for the
// channels they take apart: one per running capture, used by one thread.
struct SignalState {
    TriggerMemory trigger;
    AutoGain gain;
    ChannelScratch left, right;
};

// The part of one buffer to show. left and right point into the buffer or
// into the state's scratch, so they last until the next selectWindow; right
// is left for the mono mode and for a one-channel source.
struct SignalWindow {
    MonoSamples left, right;
    uint32_t start;  // first sample shown: the trigger's crossing, else 0
    uint32_t count;  // samples from start shown, a trace window at most
    bool autoGain;
    float gain;  // over the fixed scale; 1 with the automatic gain off
};

// Frames a source should deliver per buffer: one trace window, two with the
// trigger on, so that a crossing in the first still has a whole window after it.
uint32_t framesPerBuffer(int points, SampleFormat format, bool trigger);

// Takes the channels apart, finds the trigger's crossing (in the left
// channel) and follows the peak of what is shown (both channels, so they
// share one scale). Allocates nothing.
SignalWindow selectWindow(const SignalSource& source, int points, const SignalOptions& options, SignalState& state);

// Reduces one channel of the window (window.left or window.right) into row
// from the window's start, at the fixed scale or the window's gain.
void reduceWindowInto(const SignalWindow& window, const MonoSamples& channel, int points, int32_t dimension,
                      TraceRow& row);

}  // namespace zembrit
