#pragma once
// One piece of capture work that the shell's thread hands to the control
// thread, with what the control thread reports back.
#include <windows.h>

#include <cstdint>

#include "capture/control/control_handover.h"
#include "capture/floor/capture_outcome.h"
#include "capture/floor/slim_lock.h"
#include "capture/floor/step_progress.h"
#include "capture/wasapi/wasapi_engine.h"
#include "capture/wave_in/wave_in_capture.h"

namespace zembrit {

enum class JobKind : uint8_t { startWaveIn, stopWaveIn, startWasapi, stopWasapi, listEndpoints };

struct CaptureJob final : HandedJob {
    // A wave-in start that did not begin in time is a failed start, never
    // run later; everything else must still happen when the platform answers.
    explicit CaptureJob(JobKind jobKind) : kind(jobKind) { durable = jobKind != JobKind::startWaveIn; }

    const JobKind kind;
    HWND window = nullptr;
    WaveInPlan plan{};      // startWaveIn
    EngineConfig config;    // startWasapi
    SignalOptions options;  // startWaveIn's are in its plan
    bool trails = false;    // startWasapi: repaints go on until a blend or a glow settles
    bool render = false;    // listEndpoints: those that play, else those that record
    StepProgress progress;
    // The outcome, once finished.
    StartFailure started = StartFailure::None;
    StopOutcome stopped;
    // What the shell reported when it stopped waiting; the control thread
    // honours it when the job ends.
    StartFailure reported = StartFailure::None;
};

using CaptureHandover = ControlHandover<CaptureJob, SlimMutex, SlimCondition>;

}  // namespace zembrit
