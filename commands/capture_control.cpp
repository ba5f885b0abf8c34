#include "commands/capture_control.h"

#include "capture/capture.h"
#include "commands/message_box.h"

namespace zembrit {
namespace {

// Null where there is nothing to tell: no failure, or a capture already on.
const char* failureText(StartFailure failure) {
    switch (failure) {
    case StartFailure::None:
    case StartFailure::AlreadyRunning: return nullptr;
    case StartFailure::DeviceNotOpened: return "Can't open WAVE In Device!";
    case StartFailure::NoBufferMemory: return "Can't allocate memory for WAVE buffer!";
    case StartFailure::HeaderNotPrepared: return "Error preparing WAVEHDR!";
    case StartFailure::HeaderNotQueued: return "Error queueing WAVEHDR!";
    case StartFailure::RecordingNotStarted: return "Error starting record!";
    }
    return nullptr;
}

void showStopFailures(const StopOutcome& outcome) {
    if (!outcome.headerUnprepared) showError("Error unpreparing WAVEHDR!");
    if (!outcome.deviceClosed) showError("Can't close WAVE In Device!");
}

}  // namespace

void startCaptureShowingFailures(HWND repaintWindow) {
    if (const char* text = failureText(startCapture(repaintWindow))) showError(text);
}

void stopCaptureShowingFailures() { showStopFailures(stopCapture()); }

void stopCaptureForClosingWindowShowingFailures() { showStopFailures(stopCaptureForClosingWindow()); }

}  // namespace zembrit
