#pragma once
#include <windows.h>

namespace zembrit {

// Start and stop as every command and the plugin's life cycle ask for them:
// whatever the capture could not do is shown to the user in a box, or for a
// WASAPI source in the toolbar label. Each waits on capture within one
// deadline; a restart's stop and start share one.
void startCaptureShowingFailures(HWND repaintWindow);
void stopCaptureShowingFailures();
// between runs after the stop and before the start.
void restartCaptureShowingFailures(HWND repaintWindow, void (*between)() = nullptr);
// The scope window is closing: capture stops and forgets the window.
void stopCaptureForClosingWindowShowingFailures();
// The plugin ends: capture stops and its control thread ends.
void endCaptureShowingFailures();

}  // namespace zembrit
