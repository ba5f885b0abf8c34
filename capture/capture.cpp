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
#include "capture/wasapi_capture.h"
#include "plugin/message_box.h"
#include "plugin/plugin_state.h"
#include "settings/settings_store.h"

namespace zembrit {

CaptureState captureState;
Relaxed<uint32_t> lastRedrawTick;
TraceRow TracePoints{};

namespace {

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
    const auto recording = recordingFormatFor(settings.sampleKHz, settings.sampleBits);
    if (!recording) return false;
    WAVEFORMATEX format = waveFormat(*recording);
    return waveInOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(captureCallback), 0,
                      CALLBACK_FUNCTION) == MMSYSERR_NOERROR;
}

// Ends the worker, unprepares and closes. The block goes back to the system
// only when nothing can reach into it any more: the buffer is home, the
// worker ended, the device let go of the header and is closed.
void finishCapture(CaptureBuffer* buffer, bool bufferHome, bool prepared, bool reportFailures) {
    const bool workerEnded = endWorker(*buffer);
    const bool unprepared =
        !prepared || waveInUnprepareHeader(buffer->device, &buffer->header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
    if (!unprepared && reportFailures) showError("Error unpreparing WAVEHDR!");
    const bool closed = waveInClose(buffer->device) == MMSYSERR_NOERROR;
    if (!closed && reportFailures) showError("Can't close WAVE In Device!");
    finishCaptureBuffer(buffer, bufferHome && workerEnded && unprepared && closed);
}

// Nothing a failed start got outlives it: the next start opens a device and
// allocates a buffer afresh, so a hundred failed starts leak nothing.
void releaseFailedStart(HWAVEIN device, CaptureBuffer* buffer, bool prepared) {
    if (buffer)
        finishCapture(buffer, true, prepared, false);
    else
        waveInClose(device);
}

CaptureBuffer* allocateWithWorker(HWAVEIN device) {
    CaptureBuffer* buffer = allocateCaptureBuffer(settings.bufferPoints, device, settings.sampleBits);
    if (!buffer || startWorker(*buffer)) return buffer;
    finishCaptureBuffer(buffer, true);
    return nullptr;
}

// Runs on locals until the buffer is queued: a message box lets other
// messages in, and a command handled meanwhile must find capture stopped.
int queueFirstBuffer(HWAVEIN device) {
    CaptureBuffer* buffer = allocateWithWorker(device);
    if (!buffer) {
        releaseFailedStart(device, nullptr, false);
        showError("Can't allocate memory for WAVE buffer!");
        return 0;
    }
    if (waveInPrepareHeader(device, &buffer->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        releaseFailedStart(device, buffer, false);
        showError("Error preparing WAVEHDR!");
        return 0;
    }
    if (waveInAddBuffer(device, &buffer->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        releaseFailedStart(device, buffer, true);
        showError("Error queueing WAVEHDR!");
        return 0;
    }
    captureState.buffer = buffer;
    captureState.protocol.begin(*buffer, scopeWindow);
    if (waveInStart(device) != MMSYSERR_NOERROR) showError("Error starting record!");
    return 0;
}

}  // namespace

void resetCaptureState() {
    lastRedrawTick = GetTickCount();
    for (auto& point : TracePoints) point = 0;
}

int startCapture() {
    if (isCapturing()) return 1;
    if (settings.source != CaptureSource::wavein) return startWasapiCapture(settings.source) ? 0 : 1;
    HWAVEIN device = nullptr;
    if (!openDevice(device)) {
        showError("Can't open WAVE In Device!");
        return 1;
    }
    return queueFirstBuffer(device);
}

// A buffer that has not come back within the wait, or that the device may
// still know of, is left to the device with its whole block, never freed or
// reused.
int stopCapture() {
    if (!isCapturing()) return 1;
    if (wasapiCapturing()) {
        stopWasapiCapture();
        return 0;
    }
    CaptureBuffer* buffer = std::exchange(captureState.buffer, nullptr);
    captureState.protocol.stopRequeueing();
    waveInReset(buffer->device);
    const bool home = captureState.protocol.waitForBufferHome(kBufferHomeBound);
    finishCapture(buffer, home, true, true);
    return 0;
}

bool isCapturing() { return captureState.protocol.capturing() || wasapiCapturing(); }

void stopCaptureForClosingWindow() {
    captureState.protocol.forgetWindow();
    forgetWasapiWindow();
    stopCapture();
}

}  // namespace zembrit
