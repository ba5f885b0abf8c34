// What happens to each buffer the device hands back.
//
// The wave-in callback may call no other wave-in function: the platform
// delivers notifications on a thread that waveInReset and waveInClose may be
// waiting for, so queueing from inside the callback can deadlock. The callback
// therefore only sets an event (a call the platform allows there), and a
// worker thread of the capture runs the callback's steps: reduce, then queue
// the buffer again while capturing is 1, else count it.
//
// The worker's test of capturing and its queueing are one step under
// requeueLock, and the stop clears capturing under the same lock before it
// resets the device: a queueing can land before the reset, which hands the
// buffer back, never after it. The lock is never held across a reset or a
// close, and the callback never takes it, so nothing waits in a circle.
#include "capture/capture_worker.h"

#include "capture/reduce_buffer.h"

namespace zembrit {
namespace {

constexpr int kHomePolls = 20;
constexpr DWORD kHomePollMs = 100;
constexpr DWORD kWorkerJoinMs = 1000;

SRWLOCK requeueLock = SRWLOCK_INIT;

struct RequeueGuard {
    RequeueGuard() { AcquireSRWLockExclusive(&requeueLock); }
    ~RequeueGuard() { ReleaseSRWLockExclusive(&requeueLock); }
    RequeueGuard(const RequeueGuard&) = delete;
    RequeueGuard& operator=(const RequeueGuard&) = delete;
};

// A queueing the device refuses also brings the buffer home: nothing will
// hand it back, and the stop must not wait for it.
void queueAgainOrCount(CaptureBuffer& buffer) {
    if (captureState.capturing.load() == 1) {
        if (waveInAddBuffer(buffer.device, &buffer.header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR) return;
        buffer.requeueFailed.store(1);
    } else {
        captureState.returnedBuffers.fetch_add(1);
    }
    SetEvent(buffer.bufferHome);
}

void takeReturnedBuffer(CaptureBuffer& buffer) {
    if (buffer.header.dwBytesRecorded != 0) reduceBuffer(buffer.header, buffer.sampleBits);
    RequeueGuard guard;
    // Past the stop's wait the buffer is no longer this worker's to hand on.
    if (!buffer.quit.load()) queueAgainOrCount(buffer);
}

DWORD WINAPI captureWorker(void* parameter) {
    CaptureBuffer& buffer = *static_cast<CaptureBuffer*>(parameter);
    while (WaitForSingleObject(buffer.bufferReturned, INFINITE) == WAIT_OBJECT_0 && !buffer.quit.load())
        takeReturnedBuffer(buffer);
    return 0;
}

}  // namespace

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
    {
        RequeueGuard guard;
        buffer.quit.store(1);
    }
    SetEvent(buffer.bufferReturned);
    const bool ended = WaitForSingleObject(buffer.worker, kWorkerJoinMs) == WAIT_OBJECT_0;
    CloseHandle(buffer.worker);
    buffer.worker = nullptr;
    return ended;
}

void stopRequeueing() {
    RequeueGuard guard;
    captureState.capturing.store(0);
}

// The counter is tested before the first wait, so a buffer the reset handed
// back costs no wait at all; the worker's event ends each wait early.
bool waitForBufferHome(CaptureBuffer& buffer) {
    for (int poll = 0;; ++poll) {
        if (captureState.returnedBuffers.load() > 0 || buffer.requeueFailed.load()) return true;
        if (poll == kHomePolls) return false;
        WaitForSingleObject(buffer.bufferHome, kHomePollMs);
    }
}

}  // namespace zembrit
