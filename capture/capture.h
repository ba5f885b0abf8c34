#pragma once

namespace zembrit {

// Called once at plugin start: nothing captured yet, nothing running.
void resetCaptureState();
int startCapture();
int stopCapture();
bool isCapturing();

}  // namespace zembrit
