#pragma once
#include <windows.h>

namespace zembrit {

// Start and stop as every command and the plugin's life cycle ask for them:
// whatever the capture could not do is shown to the user in a box.
void startCaptureShowingFailures(HWND repaintWindow);
void stopCaptureShowingFailures();
// The scope window is closing: capture stops and forgets the window.
void stopCaptureForClosingWindowShowingFailures();

}  // namespace zembrit
