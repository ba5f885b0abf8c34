#include "capture/wave_in/capture_protocol.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <numeric>
#include <semaphore>
#include <thread>

namespace zembrit {
namespace {

using namespace std::chrono_literals;
using Protocol = CaptureProtocol<std::mutex, std::condition_variable>;

const WindowHandle kWindow = reinterpret_cast<WindowHandle>(0x5C09E);

// A device of the test's own: its thread records into the one buffer while
// it is queued and hands it back, and a worker runs the protocol for each
// notification as the plugin's does. It makes the faults it is told to.
class FakeDevice final : public CaptureDevice {
public:
    std::atomic<bool> duplicateNotifications{false}, keepAtReset{false};
    // This queueing again and every later one is refused; when held, the
    // header stays queued all the same and never comes back.
    std::atomic<int> refuseFrom{0};
    std::atomic<bool> holdWhatItRefuses{false};
    std::atomic<int> returns{0}, refusals{0}, readsWhileQueued{0}, repaints{0}, emptyRepaints{0};
    // Unguarded on purpose: the device does not order a queueing against a
    // reset, the protocol must, and the race detector sees any it did not.
    int queueings = 0, queueingsAtReset = -1;

    // As the plugin's start: queue, begin, then record.
    explicit FakeDevice(Protocol& protocol) : protocol_(protocol) {
        queued_ = true;
        protocol_.begin(*this, kWindow);
        worker_ = std::thread([this] {
            while (wakes_.acquire(), protocol_.takeReturnedBuffer(*this)) {}
        });
        device_ = std::thread([this] { record(); });
    }

    ~FakeDevice() {
        {
            std::lock_guard<std::mutex> guard(lock_);
            closed_ = true;
        }
        recorder_.notify_all();
        device_.join();
        endWorker();
    }

    void reset() {
        queueingsAtReset = queueings;
        std::lock_guard<std::mutex> guard(lock_);
        recording_ = false;
        if (queued_ && !keepAtReset) handBack();
    }

    void endWorker() {
        protocol_.quit();
        wakes_.release();
        if (worker_.joinable()) worker_.join();
    }

    bool bufferInQueue() override {
        std::lock_guard<std::mutex> guard(lock_);
        return queued_;
    }

    bool feedRecorded() override {
        readsWhileQueued += bufferInQueue();
        sum_ = std::accumulate(samples_.begin(), samples_.end(), 0);
        return true;
    }

    void requestRepaint(WindowHandle window) override {
        ++repaints;
        emptyRepaints += window == nullptr;
    }

    bool queueAgain() override {
        const int queueing = ++queueings;
        const bool refused = refuseFrom && queueing >= refuseFrom;
        std::lock_guard<std::mutex> guard(lock_);
        refusals += refused;
        queued_ = !refused || holdWhatItRefuses;
        recording_ = recording_ && !refused;
        recorder_.notify_all();
        return !refused;
    }

private:
    void handBack() {  // under lock_
        queued_ = false;
        ++returns;
        wakes_.release(duplicateNotifications ? 2 : 1);
    }

    void record() {
        std::unique_lock<std::mutex> guard(lock_);
        while (!closed_) {
            if (queued_ && recording_) {
                samples_.fill(static_cast<uint8_t>(returns));
                handBack();
            } else {
                recorder_.wait(guard);
            }
        }
    }

    Protocol& protocol_;
    std::mutex lock_;
    std::condition_variable recorder_;
    bool queued_ = false, recording_ = true, closed_ = false;  // under lock_
    std::array<uint8_t, 160> samples_{};  // the device's while queued, the worker's while handed back
    int sum_ = 0;
    std::counting_semaphore<> wakes_{0};
    std::thread worker_, device_;
};

// Waits for the device's and the worker's doing; a busy machine may take seconds.
bool eventually(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The plugin's stop, in its order; true when the buffer came home within
// the bound (a busy machine's time, with room to spare).
bool stop(Protocol& protocol, FakeDevice& device, std::chrono::milliseconds bound = 20s) {
    protocol.stopRequeueing();
    device.reset();
    const bool home = protocol.waitForBufferHome(bound);
    device.endWorker();
    return home;
}

class FlowingBuffers : public ::testing::TestWithParam<bool> {};

// The window goes midway through each capture, as when the dock holding it is destroyed.
TEST_P(FlowingBuffers, StopFindsTheBufferHomeNoQueueingLandsAfterTheResetAndAGoneWindowIsNeverNamed) {
    Protocol protocol;
    for (int capture = 0; capture < 5; ++capture) {
        FakeDevice device(protocol);
        device.duplicateNotifications = GetParam();
        ASSERT_TRUE(eventually([&] { return device.returns > 100; }));
        protocol.forgetWindow();
        const int repaints = device.repaints;
        ASSERT_TRUE(eventually([&] { return device.returns > 200; }));
        EXPECT_TRUE(stop(protocol, device));
        EXPECT_EQ(device.queueings, device.queueingsAtReset);
        EXPECT_EQ(device.readsWhileQueued, 0) << "a buffer was read while the device held it";
        EXPECT_EQ(device.emptyRepaints, 0);
        EXPECT_LE(device.repaints, repaints + 1) << "only a request under way may name the gone window";
    }
}

INSTANTIATE_TEST_SUITE_P(Notifications, FlowingBuffers, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Duplicated" : "Single"; });

class RefusedQueueing : public ::testing::TestWithParam<bool> {};

TEST_P(RefusedQueueing, IsHomeOnlyWhenTheDeviceLetGoOfTheBuffer) {
    const bool held = GetParam();
    Protocol protocol;
    FakeDevice device(protocol);
    device.holdWhatItRefuses = held;
    device.keepAtReset = true;
    device.refuseFrom = 20;
    ASSERT_TRUE(eventually([&] { return device.refusals > 0; }));
    // Held, the buffer never comes home: a short bound shows that as well.
    EXPECT_EQ(stop(protocol, device, held ? 300ms : 20s), !held);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedQueueing, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "HeaderKeptQueued" : "HeaderLetGo"; });

}  // namespace
}  // namespace zembrit
