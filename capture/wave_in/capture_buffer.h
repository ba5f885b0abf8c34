#pragma once
#include <cstdint>

#include "capture/wave_in/capture_state.h"

namespace zembrit {

// Commits one block holding the header, `length` bytes of samples behind
// it, and the worker's wake-up event; nullptr when any of it fails.
CaptureBuffer* allocateCaptureBuffer(DWORD length, HWAVEIN device);

// Hands the block back to the system, or, when the device may still write
// into it or a worker may still run in it, leaves it alone for good.
void finishCaptureBuffer(CaptureBuffer* buffer, bool safeToRelease);

}  // namespace zembrit
