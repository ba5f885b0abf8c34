#pragma once
#include <cstdint>

#include "capture/capture_state.h"

namespace zembrit {

// Turns one returned buffer into a new row of TracePoints; true when a
// repaint is due, at most once per frameIntervalMs. Runs on the capture worker.
bool reduceBuffer(const WAVEHDR& header, int32_t sampleBits);

}  // namespace zembrit
