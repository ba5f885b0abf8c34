#pragma once
// Wave-in capture as the control thread runs it: one buffer, queued again
// each time the device hands it back, from a start until its stop. Every
// wave-in call is made here, on the control thread, never on the shell's.
#include <windows.h>

#include <cstdint>

#include "capture/floor/capture_outcome.h"
#include "capture/floor/step_progress.h"
#include "capture/signal/signal_path.h"
#include "capture/wave_in/recording_format.h"

namespace zembrit {

// What one capture records and shows, taken from the settings at its start;
// a change of any of it restarts the capture.
struct WaveInPlan {
    RecordingFormat recording;
    SignalOptions options;
    SourceLayout layout;
    DWORD bufferBytes;
};

// Control thread. progress tells, as the start and the stop go, which step
// they stand at, so that a caller who stops waiting can tell which step did
// not answer in time.
StartFailure startWaveIn(const WaveInPlan& plan, HWND repaintWindow, StepProgress& progress);
// Nothing to do when no wave-in capture runs.
StopOutcome stopWaveIn(StepProgress& progress);
// Any thread: no repaint request may name the window any more.
void forgetWaveInWindow();

}  // namespace zembrit
