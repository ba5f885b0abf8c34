#include "capture/capture.h"

namespace zembrit {

void resetCaptureState() {}
int startCapture() { return 1; }
int stopCapture() { return 1; }
bool isCapturing() { return false; }

}  // namespace zembrit
