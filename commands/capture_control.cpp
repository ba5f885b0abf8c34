#include "commands/capture_control.h"

#include "capture/capture.h"
#include "commands/message_box.h"
#include "commands/shell_windows.h"
#include "plugin/host_api.h"

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
    case StartFailure::SourceNotStarted: return nullptr;
    }
    return nullptr;
}

void showStopFailures(const StopOutcome& outcome) {
    if (!outcome.headerUnprepared) showError("Error unpreparing WAVEHDR!");
    if (!outcome.deviceClosed) showError("Can't close WAVE In Device!");
}

// A WASAPI source heals by itself: one line in the toolbar label when it
// fails, another when it captures again.
void showSourceHealth(SourceHealth health) {
    const char* text = health == SourceHealth::failing ? "ZembritPlugin -> sound source unavailable, retrying"
                                                       : "ZembritPlugin -> sound source capturing again";
    SendMessageA(shellWindow(), HM_SETTOOLBARLABEL, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

void startCaptureShowingFailures(HWND repaintWindow) {
    const StartFailure failure = startCapture(repaintWindow, showSourceHealth);
    if (failure == StartFailure::SourceNotStarted) showSourceHealth(SourceHealth::failing);
    if (const char* text = failureText(failure)) showError(text);
}

void stopCaptureShowingFailures() { showStopFailures(stopCapture()); }

void stopCaptureForClosingWindowShowingFailures() { showStopFailures(stopCaptureForClosingWindow()); }

}  // namespace zembrit
