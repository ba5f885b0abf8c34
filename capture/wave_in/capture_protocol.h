#pragma once
// The rules a capture keeps between its three threads, free of the platform
// so that they run under a race detector:
// - the device's thread only says that the buffer came back;
// - the capture's worker feeds it to the trace, then queues it again while capturing,
//   or counts it home once the stop has cleared capturing;
// - the control thread begins and stops the capture, and waits
//   within a bound for the buffer to come home before anything releases it.
// The worker's test of capturing and its queueing are one step under the
// lock, and the stop clears capturing under the same lock before it resets
// the device: a queueing lands before the reset, which hands the buffer
// back, never after it. The lock is never held across a reset or a close.
#include <atomic>
#include <chrono>
#include <mutex>

namespace zembrit {

// A window handle, only ever handed back to the platform.
using WindowHandle = void*;

// What the protocol asks of one capture's device and its one buffer, and of
// the window that shows the trace. Called on the capture's worker.
class CaptureDevice {
public:
    // True while the buffer sits in the device's queue: the device's to write.
    virtual bool bufferInQueue() = 0;
    // Feeds what the device recorded to the trace; true when a repaint is due.
    virtual bool feedRecorded() = 0;
    virtual void requestRepaint(WindowHandle window) = 0;
    // Queues the buffer again; false when the device refused it.
    virtual bool queueAgain() = 0;

protected:
    ~CaptureDevice() = default;
};

// Mutex and Condition are std::mutex and std::condition_variable or types
// with the same members (lock, unlock; wait_for with a predicate, notify_all).
template <class Mutex, class Condition>
class CaptureProtocol {
public:
    // Control thread, once the device holds the buffer: from here on
    // `device` is the running capture's, until quit.
    void begin(CaptureDevice& device, WindowHandle window) {
        window_.store(window);
        std::lock_guard<Mutex> guard(lock_);
        returnedBuffers_ = 0;
        refusedForGood_ = false;
        running_.store(&device);
        capturing_.store(true);
    }

    bool capturing() const { return capturing_.load(); }

    // Worker, for each notification that `device` handed its buffer back.
    // False once `device` is not the running capture's: the worker then
    // touches nothing more and ends.
    bool takeReturnedBuffer(CaptureDevice& device) {
        if (running_.load() != &device) return false;
        // A device may say twice that the buffer came back. Once it is queued
        // again the device may be writing into it: not ours to read or queue.
        if (device.bufferInQueue()) return true;
        if (device.feedRecorded())
            if (WindowHandle window = window_.load()) device.requestRepaint(window);
        std::lock_guard<Mutex> guard(lock_);
        if (running_.load() != &device) return false;
        queueAgainOrCount(device);
        return true;
    }

    // Control thread: the stop calls these in order, the first before
    // it resets the device, the last before it ends the worker.
    void stopRequeueing() {
        std::lock_guard<Mutex> guard(lock_);
        capturing_.store(false);
    }

    // True when the buffer came home within `bound`.
    bool waitForBufferHome(std::chrono::milliseconds bound) {
        std::unique_lock<Mutex> guard(lock_);
        return homeChanged_.wait_for(guard, bound, [this] { return returnedBuffers_ > 0 || refusedForGood_; });
    }

    void quit() {
        std::lock_guard<Mutex> guard(lock_);
        running_.store(nullptr);
    }

    // Any thread: the window is going. Only a request already
    // under way may still name it; none ever names an empty window.
    void forgetWindow() { window_.store(nullptr); }

private:
    void queueAgainOrCount(CaptureDevice& device) {
        if (capturing_.load()) {
            if (device.queueAgain()) return;
            // Refused, the buffer is home only when the device does not hold
            // it all the same (as for a header it still has queued).
            if (device.bufferInQueue()) return;
            refusedForGood_ = true;
        } else {
            ++returnedBuffers_;
        }
        homeChanged_.notify_all();
    }

    Mutex lock_;
    Condition homeChanged_;
    // Written under lock_, read anywhere.
    std::atomic<CaptureDevice*> running_{nullptr};
    std::atomic<bool> capturing_{false};
    // Under lock_: buffers handed back while not capturing, and a refused
    // queueing of a buffer the device does not hold.
    int returnedBuffers_ = 1;
    bool refusedForGood_ = false;
    std::atomic<WindowHandle> window_{nullptr};
};

}  // namespace zembrit
