#pragma once
// Starting and stopping capture, as the shell's thread asks for them. Every
// call into the audio stack runs on the capture's control thread; the
// shell's thread waits for it within a deadline and never longer, and
// counts a step that did not answer in time as that step's failure.
#include <windows.h>

#include "capture/floor/capture_outcome.h"

namespace zembrit {

// The time one command, a restart or the plugin's end may spend waiting on
// capture, in all.
class CaptureDeadline {
public:
    static constexpr DWORD kBoundMs = 3000;
    CaptureDeadline() : end_(GetTickCount64() + kBoundMs) {}
    DWORD remainingMs() const {
        const ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }

private:
    ULONGLONG end_;
};

// Called once at plugin start: nothing captured yet.
void resetCaptureState();
// Each due buffer asks repaintWindow to repaint; a WASAPI source tells
// report how it is doing.
StartFailure startCapture(HWND repaintWindow, SourceReport report, const CaptureDeadline& deadline);
StopOutcome stopCapture(const CaptureDeadline& deadline);
// True from a start that left a capture running until the next stop.
bool isCapturing();
// The scope window is being destroyed: no repaint request may name it any
// more, and nothing is left to show a running capture.
StopOutcome stopCaptureForClosingWindow(const CaptureDeadline& deadline);
// The Device menu is opening: the control thread lists the endpoints that
// play (render) or record afresh, waited for at most boundMs; a listing that
// answers later is there for the next look.
void relistEndpoints(bool render, DWORD boundMs);
// The plugin ends: the control thread ends once its work is done; true when
// it ended within the deadline.
bool endCapture(const CaptureDeadline& deadline);

}  // namespace zembrit
