#pragma once
#include <windows.h>

#include "capture/wasapi_capture.h"

namespace zembrit {

// What a start could not do. Only AlreadyRunning and RecordingNotStarted
// leave a capture running; every other failure leaves nothing behind.
enum class StartFailure {
    None,
    AlreadyRunning,
    DeviceNotOpened,
    NoBufferMemory,
    HeaderNotPrepared,
    HeaderNotQueued,
    RecordingNotStarted,
    SourceNotStarted,  // a WASAPI source's thread could not be made; reported, never boxed
};


// What a stop could not do; nothing when capture was not running. A header
// not unprepared or a device not closed keeps the buffer's memory for good.
struct StopOutcome {
    bool headerUnprepared = true;
    bool deviceClosed = true;
};

// Called once at plugin start: nothing captured yet.
void resetCaptureState();
// Each due buffer asks repaintWindow to repaint; a WASAPI source tells
// report how it is doing.
StartFailure startCapture(HWND repaintWindow, SourceReport report);
// Blocks at most about 3 s.
StopOutcome stopCapture();
bool isCapturing();
// The scope window is being destroyed: no repaint request may name it any
// more, and nothing is left to show a running capture.
StopOutcome stopCaptureForClosingWindow();

}  // namespace zembrit
