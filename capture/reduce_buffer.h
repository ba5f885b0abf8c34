#pragma once
#include <cstdint>

#include "capture/capture_state.h"
#include "capture/channels.h"

namespace zembrit {

// Turns one returned buffer into a new row of TracePoints; true when a
// repaint is due, at most once per frameIntervalMs. Runs on the capture worker.
bool reduceBuffer(const WAVEHDR& header, int32_t sampleBits);

// The same for a window of frames from another source: its first channel
// is reduced. Runs on that source's capture thread.
bool reduceSamples(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout);

}  // namespace zembrit
