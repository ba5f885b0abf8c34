// The wave-in device under the capture protocol, and the worker that runs it.
//
// The wave-in callback may call no other wave-in function: the platform
// delivers notifications on a thread that waveInReset and waveInClose may be
// waiting for, so queueing from inside the callback can deadlock. The callback
// therefore only sets an event (a call the platform allows there), and a
// worker thread of the capture takes each returned buffer through the protocol.
#include "capture/wave_in/capture_worker.h"

#include "capture/wave_in/feed_buffer.h"

namespace zembrit {
namespace {

constexpr DWORD kWorkerJoinMs = 1000;

DWORD WINAPI captureWorker(void* parameter) {
    CaptureBuffer& buffer = *static_cast<CaptureBuffer*>(parameter);
    while (WaitForSingleObject(buffer.bufferReturned, INFINITE) == WAIT_OBJECT_0 &&
           captureState().protocol.takeReturnedBuffer(buffer)) {}
    return 0;
}

}  // namespace

bool CaptureBuffer::bufferInQueue() { return (header.dwFlags & WHDR_INQUEUE) != 0; }

bool CaptureBuffer::feedRecorded() { return header.dwBytesRecorded != 0 && feedBuffer(*this); }

// The request only marks the window; the paint runs on its own thread.
void CaptureBuffer::requestRepaint(WindowHandle window) { InvalidateRect(static_cast<HWND>(window), nullptr, FALSE); }

bool CaptureBuffer::queueAgain() { return waveInAddBuffer(device, &header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR; }

void CALLBACK captureCallback(HWAVEIN, UINT message, DWORD_PTR, DWORD_PTR first, DWORD_PTR) {
    if (message != WIM_DATA) return;
    SetEvent(reinterpret_cast<HANDLE>(reinterpret_cast<const WAVEHDR*>(first)->dwUser));
}

bool startWorker(CaptureBuffer& buffer) {
    buffer.worker = CreateThread(nullptr, 0, captureWorker, &buffer, 0, nullptr);
    if (!buffer.worker) return false;
    // Nothing records while the worker holds the buffer: let it run at once.
    SetThreadPriority(buffer.worker, THREAD_PRIORITY_HIGHEST);
    return true;
}

bool endWorker(CaptureBuffer& buffer) {
    captureState().protocol.quit();
    SetEvent(buffer.bufferReturned);
    const bool ended = WaitForSingleObject(buffer.worker, kWorkerJoinMs) == WAIT_OBJECT_0;
    CloseHandle(buffer.worker);
    buffer.worker = nullptr;
    return ended;
}

}  // namespace zembrit
