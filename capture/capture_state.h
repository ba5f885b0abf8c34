#pragma once
// The capture's module-wide record and the block of memory each capture runs in.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "capture/capture_protocol.h"
#include "capture/slim_lock.h"
#include "capture/trace_points.h"
#include "settings/relaxed.h"

namespace zembrit {

// One committed allocation per capture: this record first, the samples after
// it. It is the wave-in device the protocol runs over, and holds everything
// the device, the callback and the worker touch. When the device may still
// hold the buffer, the whole block is left alone, so no later capture reuses
// memory the old device may still write into.
struct CaptureBuffer final : CaptureDevice {
    WAVEHDR header{};                  // dwUser carries bufferReturned for the callback
    HWAVEIN device = nullptr;
    HANDLE bufferReturned = nullptr;   // auto-reset: set by the callback, or to wake the worker to quit
    HANDLE worker = nullptr;
    int32_t sampleBits = 0;            // depth of the format the device was opened with

    bool bufferInQueue() override;
    bool reduceRecorded() override;
    void requestRepaint(WindowHandle window) override;
    bool queueAgain() override;
};

struct CaptureState {
    CaptureBuffer* buffer = nullptr;  // its header is the one header; empty while stopped
    CaptureProtocol<SlimMutex, SlimCondition> protocol;
};

// The capture's own record, its trace row to write into, and the tick count
// of the last repaint request (written by the capture worker).
CaptureState& captureState();
TraceRow& traceRow();
Relaxed<uint32_t>& lastRedrawTick();

}  // namespace zembrit
