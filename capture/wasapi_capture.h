#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/capture_source.h"

namespace zembrit {

// How a WASAPI source is doing. Its failures heal by themselves, so they are
// news for the shell's label, never a box; called on the user-interface thread.
enum class SourceHealth : uint8_t { failing, capturingAgain };
using SourceReport = void (*)(SourceHealth health);

// Capture from a WASAPI source (output or input) into the trace, with the
// device and signal options in the settings. Failures heal by themselves and
// go to report. User-interface thread only.
bool startWasapiCapture(CaptureSource source, HWND repaintWindow, SourceReport report);
// Ends the engine within about three seconds; false when it did not end.
bool stopWasapiCapture();
bool wasapiCapturing();
// The scope window is going: no repaint request may name it any more.
void forgetWasapiWindow();

}  // namespace zembrit
