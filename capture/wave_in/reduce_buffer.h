#pragma once
#include <cstdint>

#include "capture/wave_in/capture_state.h"
#include "capture/signal/channels.h"
#include "capture/signal/delay_line.h"

namespace zembrit {

// Takes one window of any source through the signal steps into the trace
// (and the right row or the figure); true when a repaint is due, at most
// once per frameIntervalMs. Runs on that source's capture thread.
// With a visual delay the picture goes through delay first, and what is due
// of it is shown.
bool showWindow(const SignalSource& source, const SignalOptions& options, SignalState& state, DelayLine& delay);

// The same for one returned wave-in buffer. Runs on the capture worker.
bool reduceBuffer(CaptureBuffer& buffer);

}  // namespace zembrit
