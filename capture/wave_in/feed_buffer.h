#pragma once
#include "capture/wave_in/capture_state.h"

namespace zembrit {

// Takes one returned wave-in buffer to the trace; true when a repaint is
// due. Runs on the capture worker.
bool reduceBuffer(CaptureBuffer& buffer);

}  // namespace zembrit
