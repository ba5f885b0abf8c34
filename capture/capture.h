#pragma once

namespace zembrit {

// Called once at plugin start: nothing captured yet.
void resetCaptureState();
// 1 when capture already runs or the device does not open, else 0; every
// failure is shown to the user.
int startCapture();
// 1 when capture was not running, else 0. Blocks at most about 3 s.
int stopCapture();
bool isCapturing();
// The scope window is being destroyed: no repaint request may name it any
// more, and nothing is left to show a running capture.
void stopCaptureForClosingWindow();

}  // namespace zembrit
