#pragma once
// The capture's module-wide record and the block of memory each capture runs in.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "capture/floor/slim_lock.h"
#include "capture/floor/trace_feed.h"
#include "capture/wave_in/capture_protocol.h"

namespace zembrit {

// One committed allocation per capture: this record first, the samples after
// it. It is the wave-in device the protocol runs over, and holds everything
// the device, the callback and the worker touch. When the device may still
// hold the buffer, the whole block is left alone, so no later capture reuses
// memory the old device may still write into.
struct CaptureBuffer final : CaptureDevice {
    WAVEHDR header{};  // dwUser carries bufferReturned for the callback
    HWAVEIN device = nullptr;
    HANDLE bufferReturned = nullptr;  // auto-reset: set by the callback, or to wake the worker to quit
    HANDLE worker = nullptr;
    // What the device was opened to record and how it is shown, fixed for the capture.
    SourceLayout layout{SampleFormat::signed16, 1};
    uint32_t framesPerSecond = 0;
    TraceFeed feed;  // the worker's alone

    bool bufferInQueue() override;
    bool feedRecorded() override;
    void requestRepaint(WindowHandle window) override;
    bool queueAgain() override;
};

struct CaptureState {
    CaptureBuffer* buffer = nullptr;  // its header is the one header; empty while stopped
    CaptureProtocol<SlimMutex, SlimCondition> protocol;
};

// The wave-in capture's own record.
CaptureState& captureState();

}  // namespace zembrit
