// Wave-in capture: one buffer, queued again each time the device hands it
// back, from startCapture until stopCapture.
#include "capture/capture.h"

#include <chrono>
#include <optional>
#include <utility>

#include "capture/capture_buffer.h"
#include "capture/capture_state.h"
#include "capture/capture_worker.h"
#include "capture/recording_format.h"
#include "capture/trace_points.h"
#include "capture/wasapi_capture.h"
#include "capture/wave_in_layout.h"
#include "settings/settings_store.h"

namespace zembrit {

namespace {

CaptureState state;
Relaxed<uint32_t> redrawTick;
TraceRow row{};
TraceRow rightRow{};
XyFigure figure;

constexpr std::chrono::milliseconds kBufferHomeBound{2000};

// What one capture records and shows, taken from the settings at its start;
// a change of any of it restarts the capture.
struct CapturePlan {
    RecordingFormat recording;
    SignalOptions options;
    SourceLayout layout;
    DWORD bufferBytes;
};

// Nothing for a format no device records.
std::optional<CapturePlan> planCapture() {
    const ScopeSettings& s = settings();
    const auto recording = recordingFormatFor(s.sampleKHz, s.sampleBits);
    if (!recording) return std::nullopt;
    const SignalOptions options = signalOptionsOf(s);
    const SourceLayout layout = waveInLayout(s.sampleBits, options);
    return CapturePlan{*recording, options, layout, waveInBufferBytes(s.bufferPoints, layout, options.trigger)};
}

WAVEFORMATEX waveFormat(const CapturePlan& plan) {
    const auto channels = static_cast<WORD>(plan.layout.channels);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = plan.recording.samplesPerSecond;
    format.nAvgBytesPerSec = plan.recording.bytesPerSecond * channels;
    format.nBlockAlign = static_cast<WORD>(plan.recording.blockAlign * channels);
    format.wBitsPerSample = plan.recording.bitsPerSample;
    format.cbSize = 0;
    return format;
}

// A format no device records is refused here, as a device would refuse it.
bool openDevice(HWAVEIN& device, const std::optional<CapturePlan>& plan) {
    if (!plan) return false;
    WAVEFORMATEX format = waveFormat(*plan);
    return waveInOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(captureCallback), 0,
                      CALLBACK_FUNCTION) == MMSYSERR_NOERROR;
}

// Ends the worker, unprepares and closes. The block goes back to the system
// only when nothing can reach into it any more: the buffer is home, the
// worker ended, the device let go of the header and is closed.
StopOutcome finishCapture(CaptureBuffer* buffer, bool bufferHome, bool prepared) {
    StopOutcome outcome;
    const bool workerEnded = endWorker(*buffer);
    outcome.headerUnprepared =
        !prepared || waveInUnprepareHeader(buffer->device, &buffer->header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
    outcome.deviceClosed = waveInClose(buffer->device) == MMSYSERR_NOERROR;
    finishCaptureBuffer(buffer, bufferHome && workerEnded && outcome.headerUnprepared && outcome.deviceClosed);
    return outcome;
}

// Nothing a failed start got outlives it: the next start opens a device and
// allocates a buffer afresh, so a hundred failed starts leak nothing.
void releaseFailedStart(HWAVEIN device, CaptureBuffer* buffer, bool prepared) {
    if (buffer)
        finishCapture(buffer, true, prepared);
    else
        waveInClose(device);
}

CaptureBuffer* allocateWithWorker(HWAVEIN device, const CapturePlan& plan) {
    CaptureBuffer* buffer = allocateCaptureBuffer(plan.bufferBytes, device);
    if (!buffer) return nullptr;
    buffer->layout = plan.layout;
    buffer->framesPerSecond = plan.recording.samplesPerSecond;
    buffer->options = plan.options;
    if (startWorker(*buffer)) return buffer;
    finishCaptureBuffer(buffer, true);
    return nullptr;
}

// Runs on locals until the buffer is queued, so that nothing of a failed
// start is left for a later command to find.
StartFailure queueFirstBuffer(HWAVEIN device, const CapturePlan& plan, HWND repaintWindow) {
    CaptureBuffer* buffer = allocateWithWorker(device, plan);
    if (!buffer) {
        releaseFailedStart(device, nullptr, false);
        return StartFailure::NoBufferMemory;
    }
    if (waveInPrepareHeader(device, &buffer->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        releaseFailedStart(device, buffer, false);
        return StartFailure::HeaderNotPrepared;
    }
    if (waveInAddBuffer(device, &buffer->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        releaseFailedStart(device, buffer, true);
        return StartFailure::HeaderNotQueued;
    }
    state.buffer = buffer;
    state.protocol.begin(*buffer, repaintWindow);
    if (waveInStart(device) != MMSYSERR_NOERROR) return StartFailure::RecordingNotStarted;
    return StartFailure::None;
}

}  // namespace

CaptureState& captureState() { return state; }
Relaxed<uint32_t>& lastRedrawTick() { return redrawTick; }
TraceRow& traceRow() { return row; }
const TraceRow& latestTrace() { return row; }
TraceRow& rightTraceRow() { return rightRow; }
const TraceRow& latestRightTrace() { return rightRow; }
XyFigure& xyFigure() { return figure; }
const XyFigure& latestXyFigure() { return figure; }

void resetCaptureState() {
    redrawTick = GetTickCount();
    for (auto& point : row) point = 0;
}

StartFailure startCapture(HWND repaintWindow, SourceReport report) {
    if (isCapturing()) return StartFailure::AlreadyRunning;
    const ScopeSettings& s = settings();
    if (s.source != CaptureSource::wavein)
        return startWasapiCapture(s.source, repaintWindow, report) ? StartFailure::None : StartFailure::SourceNotStarted;
    HWAVEIN device = nullptr;
    const std::optional<CapturePlan> plan = planCapture();
    if (!openDevice(device, plan)) return StartFailure::DeviceNotOpened;
    return queueFirstBuffer(device, *plan, repaintWindow);
}

// A buffer that has not come back within the wait, or that the device may
// still know of, is left to the device with its whole block, never freed or
// reused.
StopOutcome stopCapture() {
    if (!isCapturing()) return StopOutcome{};
    // A WASAPI source has no wave-in steps to fail; it reports through the label.
    if (wasapiCapturing()) {
        stopWasapiCapture();
        return StopOutcome{};
    }
    CaptureBuffer* buffer = std::exchange(state.buffer, nullptr);
    state.protocol.stopRequeueing();
    waveInReset(buffer->device);
    const bool home = state.protocol.waitForBufferHome(kBufferHomeBound);
    return finishCapture(buffer, home, true);
}

bool isCapturing() { return state.protocol.capturing() || wasapiCapturing(); }

StopOutcome stopCaptureForClosingWindow() {
    state.protocol.forgetWindow();
    forgetWasapiWindow();
    return stopCapture();
}

}  // namespace zembrit
