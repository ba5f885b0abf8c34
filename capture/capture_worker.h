#pragma once
#include "capture/capture_state.h"

namespace zembrit {

// The wave-in callback handed to waveInOpen. It only wakes the capture
// worker, which does the reduction and the queueing again.
void CALLBACK captureCallback(HWAVEIN device, UINT message, DWORD_PTR instance, DWORD_PTR first,
                              DWORD_PTR second);

bool startWorker(CaptureBuffer& buffer);
// Ends and joins the worker within a bound; false when it did not end.
bool endWorker(CaptureBuffer& buffer);

// Sets capturing to 0 so that no queueing of the worker can land after it.
void stopRequeueing();

// Waits in steps of 100 ms, at most 2 s, until the buffer is back for good:
// counted by the worker, or refused by the device when queued again.
bool waitForBufferHome(CaptureBuffer& buffer);

}  // namespace zembrit
