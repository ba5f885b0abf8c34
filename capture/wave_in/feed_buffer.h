#pragma once
#include "capture/wave_in/capture_state.h"

namespace zembrit {

// Hands one returned wave-in buffer to its feed; true when a repaint is
// due. Runs on the capture worker.
bool feedBuffer(CaptureBuffer& buffer);

}  // namespace zembrit
