// Wave-in capture: one buffer, queued again each time the device hands it
// back, from startCapture until stopCapture.
#include "capture/capture.h"

#include <chrono>
#include <utility>

#include "capture/capture_buffer.h"
#include "capture/capture_state.h"
#include "capture/capture_worker.h"
#include "capture/recording_format.h"
#include "capture/trace_points.h"
#include "settings/settings_store.h"

namespace zembrit {

namespace {

CaptureState state;
Relaxed<uint32_t> redrawTick;
TraceRow row{};

constexpr std::chrono::milliseconds kBufferHomeBound{2000};

WAVEFORMATEX waveFormat(const RecordingFormat& recording) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = recording.samplesPerSecond;
    format.nAvgBytesPerSec = recording.bytesPerSecond;
    format.nBlockAlign = recording.blockAlign;
    format.wBitsPerSample = recording.bitsPerSample;
    format.cbSize = 0;
    return format;
}

// A format no device records is refused here, as a device would refuse it.
bool openDevice(HWAVEIN& device) {
    const auto recording = recordingFormatFor(settings().sampleKHz, settings().sampleBits);
    if (!recording) return false;
    WAVEFORMATEX format = waveFormat(*recording);
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

CaptureBuffer* allocateWithWorker(HWAVEIN device) {
    CaptureBuffer* buffer = allocateCaptureBuffer(settings().bufferPoints, device, settings().sampleBits);
    if (!buffer || startWorker(*buffer)) return buffer;
    finishCaptureBuffer(buffer, true);
    return nullptr;
}

// Runs on locals until the buffer is queued, so that nothing of a failed
// start is left for a later command to find.
StartFailure queueFirstBuffer(HWAVEIN device, HWND repaintWindow) {
    CaptureBuffer* buffer = allocateWithWorker(device);
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

void resetCaptureState() {
    redrawTick = GetTickCount();
    for (auto& point : row) point = 0;
}

StartFailure startCapture(HWND repaintWindow) {
    if (isCapturing()) return StartFailure::AlreadyRunning;
    HWAVEIN device = nullptr;
    if (!openDevice(device)) return StartFailure::DeviceNotOpened;
    return queueFirstBuffer(device, repaintWindow);
}

// A buffer that has not come back within the wait, or that the device may
// still know of, is left to the device with its whole block, never freed or
// reused.
StopOutcome stopCapture() {
    if (!isCapturing()) return StopOutcome{};
    CaptureBuffer* buffer = std::exchange(state.buffer, nullptr);
    state.protocol.stopRequeueing();
    waveInReset(buffer->device);
    const bool home = state.protocol.waitForBufferHome(kBufferHomeBound);
    return finishCapture(buffer, home, true);
}

bool isCapturing() { return state.protocol.capturing(); }

StopOutcome stopCaptureForClosingWindow() {
    state.protocol.forgetWindow();
    return stopCapture();
}

}  // namespace zembrit
