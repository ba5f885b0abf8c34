// The shell's side of capture: what it believes runs, and the jobs it hands
// to the control thread to make it so.
#include "capture/capture.h"

#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "capture/control/control_thread.h"
#include "capture/floor/core_options.h"
#include "capture/floor/trace_feed.h"
#include "capture/wasapi/wasapi_capture.h"
#include "capture/wave_in/wave_in_capture.h"
#include "capture/wave_in/wave_in_layout.h"
#include "settings/settings_store.h"

namespace zembrit {

namespace {

enum class Running : uint8_t { nothing, waveIn, wasapi };

Running running = Running::nothing;  // the user-interface thread's alone

// Nothing for a format no device records.
std::optional<WaveInPlan> planWaveIn() {
    const ScopeSettings& s = settings();
    const auto recording = recordingFormatFor(s.sampleKHz, s.sampleBits);
    if (!recording) return std::nullopt;
    const SignalOptions options = signalOptionsOf(s);
    const SourceLayout layout = waveInLayout(s.sampleBits, options);
    return WaveInPlan{*recording, options, layout, waveInBufferBytes(s.bufferPoints, layout, options.trigger)};
}

std::unique_ptr<CaptureJob> jobOf(JobKind kind, HWND window) {
    std::unique_ptr<CaptureJob> job(new (std::nothrow) CaptureJob(kind));
    if (job) job->window = window;
    return job;
}

// A format no device records is refused here, as a device would refuse it.
StartFailure startWaveInCapture(HWND window, const CaptureDeadline& deadline) {
    const std::optional<WaveInPlan> plan = planWaveIn();
    std::unique_ptr<CaptureJob> job = jobOf(JobKind::startWaveIn, window);
    if (!plan || !job) return StartFailure::DeviceNotOpened;
    job->plan = *plan;
    const Handed handed = handToControlThread(job, deadline.remainingMs());
    const StartFailure failure = handed.wait == JobWait::done ? job->started : handed.reached;
    if (failure == StartFailure::None || failure == StartFailure::RecordingNotStarted) running = Running::waveIn;
    return failure;
}

// A source that is late to start is failing for now and starts when the
// platform answers, as it would after any other failure.
StartFailure startWasapiCapture(CaptureSource source, HWND window, SourceReport report,
                                const CaptureDeadline& deadline) {
    std::unique_ptr<CaptureJob> job = jobOf(JobKind::startWasapi, window);
    if (!job) return StartFailure::SourceNotStarted;
    job->options = signalOptionsOf(settings());
    job->trails = settings().motionBlur || settings().beam;
    job->config = engineConfigFor(source, job->options);
    startWasapiTimer(window, report);
    const Handed handed = handToControlThread(job, deadline.remainingMs());
    if (handed.wait == JobWait::takenBack || (handed.wait == JobWait::done && job->started != StartFailure::None)) {
        stopWasapiTimer();
        return StartFailure::SourceNotStarted;
    }
    running = Running::wasapi;
    if (handed.wait == JobWait::orphaned) report(SourceHealth::failing);
    return StartFailure::None;
}

// Steps the stop did not get through in time count as failed.
StopOutcome stopWaveInCapture(const CaptureDeadline& deadline) {
    std::unique_ptr<CaptureJob> job = jobOf(JobKind::stopWaveIn, nullptr);
    if (!job) return StopOutcome{false, false, true};
    const Handed handed = handToControlThread(job, deadline.remainingMs());
    if (handed.wait == JobWait::done) return job->stopped;
    return StopOutcome{handed.unprepared, false, true};
}

// A start still queued never runs, and there is nothing to stop; one that
// ran is stopped.
StopOutcome stopWasapiCapture(const CaptureDeadline& deadline) {
    stopWasapiTimer();
    if (dropQueuedJobs(JobKind::startWasapi)) return StopOutcome{};
    std::unique_ptr<CaptureJob> job = jobOf(JobKind::stopWasapi, nullptr);
    StopOutcome outcome;
    outcome.sourceEnded = job && handToControlThread(job, deadline.remainingMs()).wait == JobWait::done;
    return outcome;
}

}  // namespace

void resetCaptureState() { resetTrace(); }

StartFailure startCapture(HWND repaintWindow, SourceReport report, const CaptureDeadline& deadline) {
    if (isCapturing()) return StartFailure::AlreadyRunning;
    const CaptureSource source = settings().source;
    if (source != CaptureSource::wavein) return startWasapiCapture(source, repaintWindow, report, deadline);
    return startWaveInCapture(repaintWindow, deadline);
}

StopOutcome stopCapture(const CaptureDeadline& deadline) {
    switch (std::exchange(running, Running::nothing)) {
    case Running::nothing: return StopOutcome{};
    case Running::waveIn: return stopWaveInCapture(deadline);
    case Running::wasapi: return stopWasapiCapture(deadline);
    }
    return StopOutcome{};
}

bool isCapturing() { return running != Running::nothing; }

void relistEndpoints(bool render, DWORD boundMs) {
    std::unique_ptr<CaptureJob> job = jobOf(JobKind::listEndpoints, nullptr);
    if (!job) return;
    job->render = render;
    handToControlThread(job, boundMs);
}

StopOutcome stopCaptureForClosingWindow(const CaptureDeadline& deadline) {
    forgetWaveInWindow();
    forgetWasapiWindow();
    return stopCapture(deadline);
}

bool endCapture(const CaptureDeadline& deadline) { return endControlThread(deadline.remainingMs()); }

}  // namespace zembrit
