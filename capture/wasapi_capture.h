#pragma once
#include "capture/capture_source.h"

namespace zembrit {

// Capture from a WASAPI source (output or input) into the trace, with the
// device named in the settings or the default one. Failures heal by
// themselves and show in the toolbar label, never in a box. User-interface
// thread only.
bool startWasapiCapture(CaptureSource source);
// Ends the engine within about three seconds; false when it did not end.
bool stopWasapiCapture();
bool wasapiCapturing();
// The scope window is going: no repaint request may name it any more.
void forgetWasapiWindow();

}  // namespace zembrit
