#pragma once
// The capture's module-wide record and the block of memory each capture runs in.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "capture/wave_in/capture_protocol.h"
#include "capture/signal/delay_line.h"
#include "capture/signal/signal_window.h"
#include "capture/slim_lock.h"
#include "capture/signal/trace_points.h"
#include "capture/signal/xy_figure.h"
#include "settings/relaxed.h"

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
    SignalOptions options;
    SignalState signal;  // the worker's alone
    DelayLine delay;     // the worker's alone

    bool bufferInQueue() override;
    bool reduceRecorded() override;
    void requestRepaint(WindowHandle window) override;
    bool queueAgain() override;
};

struct CaptureState {
    CaptureBuffer* buffer = nullptr;  // its header is the one header; empty while stopped
    CaptureProtocol<SlimMutex, SlimCondition> protocol;
};

// The capture's own record, its trace rows and figure to write into, and the tick count
// of the last repaint request (written by the capture worker).
CaptureState& captureState();
TraceRow& traceRow();
TraceRow& rightTraceRow();
XyFigure& xyFigure();
Relaxed<uint32_t>& lastRedrawTick();

}  // namespace zembrit
