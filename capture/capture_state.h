#pragma once
// The capture's module-wide record and the block of memory each capture runs in.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>

#include "settings/relaxed.h"

namespace zembrit {

// One committed allocation per capture: the header first, the samples after
// it, and everything the device, the callback and the worker touch. When the
// device never hands the buffer back, the whole block is left alone, so no
// later capture reuses memory the old device may still write into.
struct CaptureBuffer {
    WAVEHDR header;            // dwUser carries bufferReturned for the callback
    HWAVEIN device;
    HANDLE bufferReturned;     // auto-reset: set by the callback, or to wake the worker to quit
    HANDLE bufferHome;         // auto-reset: set by the worker when the device no longer has the buffer
    HANDLE worker;
    int32_t sampleBits;        // depth of the format the device was opened with
    std::atomic<int32_t> requeueFailed;  // the buffer is home for good: the device refused it
    std::atomic<int32_t> quit;           // the stop is past its wait; the worker touches nothing more
};

struct CaptureState {
    HWAVEIN device = nullptr;
    CaptureBuffer* buffer = nullptr;  // its header is the one header; empty while stopped
    // 1 while the buffer is to be queued again each time it comes back.
    std::atomic<int32_t> capturing{0};
    // Buffers handed back while capturing was 0; the stop waits for one.
    std::atomic<int32_t> returnedBuffers{1};
};

extern CaptureState captureState;
// Tick count of the last repaint request; written by the capture worker.
extern Relaxed<uint32_t> lastRedrawTick;

}  // namespace zembrit
