// Wave-in capture on the control thread: the steps of a start and a stop,
// and the release of whatever a failed start got.
#include "capture/wave_in/wave_in_capture.h"

#include <chrono>
#include <utility>

#include "capture/wave_in/capture_buffer.h"
#include "capture/wave_in/capture_state.h"
#include "capture/wave_in/capture_worker.h"

namespace zembrit {

namespace {

CaptureState state;

constexpr std::chrono::milliseconds kBufferHomeBound{2000};

WAVEFORMATEX waveFormat(const WaveInPlan& plan) {
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

bool openDevice(HWAVEIN& device, const WaveInPlan& plan) {
    WAVEFORMATEX format = waveFormat(plan);
    return waveInOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(captureCallback), 0,
                      CALLBACK_FUNCTION) == MMSYSERR_NOERROR;
}

// Ends the worker, unprepares and closes. The block goes back to the system
// only when nothing can reach into it any more: the buffer is home, the
// worker ended, the device let go of the header and is closed.
StopOutcome finishCapture(CaptureBuffer* buffer, bool bufferHome, bool prepared, StepProgress& progress) {
    StopOutcome outcome;
    const bool workerEnded = endWorker(*buffer);
    outcome.headerUnprepared =
        !prepared || waveInUnprepareHeader(buffer->device, &buffer->header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
    progress.unprepared = outcome.headerUnprepared;
    outcome.deviceClosed = waveInClose(buffer->device) == MMSYSERR_NOERROR;
    finishCaptureBuffer(buffer, bufferHome && workerEnded && outcome.headerUnprepared && outcome.deviceClosed);
    return outcome;
}

// Nothing a failed start got outlives it: the next start opens a device and
// allocates a buffer afresh, so a hundred failed starts leak nothing.
void releaseFailedStart(HWAVEIN device, CaptureBuffer* buffer, bool prepared, StepProgress& progress) {
    if (buffer)
        finishCapture(buffer, true, prepared, progress);
    else
        waveInClose(device);
}

CaptureBuffer* allocateWithWorker(HWAVEIN device, const WaveInPlan& plan) {
    CaptureBuffer* buffer = allocateCaptureBuffer(plan.bufferBytes, device);
    if (!buffer) return nullptr;
    buffer->layout = plan.layout;
    buffer->layout.framesPerSecond = plan.recording.samplesPerSecond;
    buffer->framesPerSecond = plan.recording.samplesPerSecond;
    buffer->feed = TraceFeed(plan.options);
    if (startWorker(*buffer)) return buffer;
    finishCaptureBuffer(buffer, true);
    return nullptr;
}

// Runs on locals until the buffer is queued, so that nothing of a failed
// start is left for a later job to find.
StartFailure queueFirstBuffer(HWAVEIN device, const WaveInPlan& plan, HWND repaintWindow, StepProgress& progress) {
    CaptureBuffer* buffer = allocateWithWorker(device, plan);
    if (!buffer) {
        releaseFailedStart(device, nullptr, false, progress);
        return StartFailure::NoBufferMemory;
    }
    progress.reached = StartFailure::HeaderNotPrepared;
    if (waveInPrepareHeader(device, &buffer->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        releaseFailedStart(device, buffer, false, progress);
        return StartFailure::HeaderNotPrepared;
    }
    progress.reached = StartFailure::HeaderNotQueued;
    if (waveInAddBuffer(device, &buffer->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        releaseFailedStart(device, buffer, true, progress);
        return StartFailure::HeaderNotQueued;
    }
    state.buffer = buffer;
    state.protocol.begin(*buffer, repaintWindow);
    progress.reached = StartFailure::RecordingNotStarted;
    if (waveInStart(device) != MMSYSERR_NOERROR) return StartFailure::RecordingNotStarted;
    return StartFailure::None;
}

}  // namespace

CaptureState& captureState() { return state; }

StartFailure startWaveIn(const WaveInPlan& plan, HWND repaintWindow, StepProgress& progress) {
    progress.reached = StartFailure::DeviceNotOpened;
    if (state.buffer) return StartFailure::AlreadyRunning;
    HWAVEIN device = nullptr;
    if (!openDevice(device, plan)) return StartFailure::DeviceNotOpened;
    progress.reached = StartFailure::NoBufferMemory;
    return queueFirstBuffer(device, plan, repaintWindow, progress);
}

// A buffer that has not come back within the wait, or that the device may
// still know of, is left to the device with its whole block, never freed or
// reused.
StopOutcome stopWaveIn(StepProgress& progress) {
    CaptureBuffer* buffer = std::exchange(state.buffer, nullptr);
    if (!buffer) return StopOutcome{};
    state.protocol.stopRequeueing();
    waveInReset(buffer->device);
    const bool home = state.protocol.waitForBufferHome(kBufferHomeBound);
    return finishCapture(buffer, home, true, progress);
}

void forgetWaveInWindow() { state.protocol.forgetWindow(); }

}  // namespace zembrit
