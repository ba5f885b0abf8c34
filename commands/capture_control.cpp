#include "commands/capture_control.h"

#include "capture/capture.h"
#include "commands/message_box.h"
#include "commands/shell_windows.h"
#include "commands/source_label.h"
#include "settings/settings_store.h"
#include "shell/shell_api.h"

namespace zembrit {
namespace {

SourceLabel label;

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

void showLabel(const char* text) {
    if (text) SendMessageA(shellWindow(), HM_SETTOOLBARLABEL, 0, reinterpret_cast<LPARAM>(text));
}

// A WASAPI source heals by itself: one line in the toolbar label when it
// fails, another when it captures again.
void showSourceHealth(SourceHealth health) {
    showLabel(health == SourceHealth::failing ? label.failing() : label.capturing());
}

void showStopBoxes(const StopOutcome& outcome) {
    if (!outcome.headerUnprepared) showError("Error unpreparing WAVEHDR!");
    if (!outcome.deviceClosed) showError("Can't close WAVE In Device!");
}

// After a plain stop only: a restart's start tells what runs instead.
void showStopFailures(const StopOutcome& outcome) {
    showStopBoxes(outcome);
    showLabel(outcome.sourceEnded ? label.stopped() : label.notAnswering());
}

void showStartFailure(StartFailure failure) {
    if (failure == StartFailure::SourceNotStarted) showSourceHealth(SourceHealth::failing);
    if (failure == StartFailure::None && settings().source == CaptureSource::wavein) showLabel(label.capturing());
    if (const char* text = failureText(failure)) showError(text);
}

}  // namespace

void startCaptureShowingFailures(HWND repaintWindow) {
    showStartFailure(startCapture(repaintWindow, showSourceHealth, CaptureDeadline{}));
}

void stopCaptureShowingFailures() { showStopFailures(stopCapture(CaptureDeadline{})); }

// The boxes come after both, in the order of the steps, so that the time a
// box is open does not count against the start.
void restartCaptureShowingFailures(HWND repaintWindow, void (*between)()) {
    const CaptureDeadline deadline;
    const StopOutcome stopped = stopCapture(deadline);
    if (between) between();
    const StartFailure failure = startCapture(repaintWindow, showSourceHealth, deadline);
    showStopBoxes(stopped);
    showStartFailure(failure);
}

void stopCaptureForClosingWindowShowingFailures() { showStopFailures(stopCaptureForClosingWindow(CaptureDeadline{})); }

void endCaptureShowingFailures() {
    const CaptureDeadline deadline;
    const StopOutcome stopped = stopCapture(deadline);
    endCapture(deadline);
    showStopBoxes(stopped);
}

}  // namespace zembrit
