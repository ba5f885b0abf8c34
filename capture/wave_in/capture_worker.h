#pragma once
#include "capture/wave_in/capture_state.h"

namespace zembrit {

// The wave-in callback handed to waveInOpen. It only wakes the capture
// worker, which runs the protocol for each returned buffer.
void CALLBACK captureCallback(HWAVEIN device, UINT message, DWORD_PTR instance, DWORD_PTR first, DWORD_PTR second);

bool startWorker(CaptureBuffer& buffer);
// Takes the buffer's device off the protocol, then ends and joins the worker
// within a bound; false when it did not end.
bool endWorker(CaptureBuffer& buffer);

}  // namespace zembrit
