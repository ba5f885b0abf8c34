#pragma once
#include <cstdint>

#include "capture/capture_state.h"

namespace zembrit {

// Takes one returned buffer through the signal steps into the trace (and the
// right row or the figure); true when a repaint is due, at most once per
// frameIntervalMs. Runs on the capture worker.
bool reduceBuffer(CaptureBuffer& buffer);

}  // namespace zembrit
