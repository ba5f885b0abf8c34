#include "capture/control/control_handover.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

namespace zembrit {
namespace {

using namespace std::chrono_literals;

// A job that blocks where the platform would, until the test releases it.
struct TestJob final : HandedJob {
    TestJob(int jobId, bool isDurable, bool blocks) : id(jobId), blocking(blocks) { durable = isDurable; }
    int id;
    bool blocking;
    int result = 0;
    bool decided = false;
};

using Handover = ControlHandover<TestJob, std::mutex, std::condition_variable>;

// The control thread as the plugin runs it: jobs in order, orphans freed.
class ControlThread {
public:
    explicit ControlThread(Handover& handover) : handover_(handover) {}
    ~ControlThread() {
        handover_.quit();
        release();
        if (thread_.joinable()) thread_.join();
    }

    void post(TestJob* job) {
        if (handover_.post(job)) {
            if (thread_.joinable()) thread_.join();
            thread_ = std::thread([this] { run(); });
        }
    }
    void release() { unblock_.release(8); }
    std::vector<int> ran() {
        std::lock_guard<std::mutex> guard(lock_);
        return ran_;
    }
    std::vector<int> orphansFreed() {
        std::lock_guard<std::mutex> guard(lock_);
        return orphans_;
    }
    std::atomic<int> threadsStarted{0};

private:
    void run() {
        ++threadsStarted;
        while (TestJob* job = handover_.take()) {
            if (job->blocking) unblock_.acquire();
            job->result = job->id * 10;
            {
                std::lock_guard<std::mutex> guard(lock_);
                ran_.push_back(job->id);
            }
            if (handover_.finish(job)) continue;
            std::lock_guard<std::mutex> guard(lock_);
            orphans_.push_back(job->decided ? job->id : -job->id);
            delete job;
        }
    }

    Handover& handover_;
    std::thread thread_;
    std::counting_semaphore<64> unblock_{0};
    std::mutex lock_;
    std::vector<int> ran_, orphans_;
};

auto noteDecision = [](TestJob& job) { job.decided = true; };

// Waits for another thread's doing; a busy machine may take seconds.
template <class Predicate>
bool eventually(Predicate done) {
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
    return done();
}

TEST(ControlHandover, AJobDoneInTimeIsTheCallersAgainWithItsResult) {
    Handover handover;
    ControlThread control(handover);
    auto* job = new TestJob(1, false, false);
    control.post(job);
    EXPECT_EQ(handover.await(job, 20s, noteDecision), JobWait::done);
    EXPECT_EQ(job->result, 10);
    EXPECT_FALSE(job->decided);
    EXPECT_FALSE(handover.stuck());
    delete job;
}

TEST(ControlHandover, AStuckJobIsOrphanedAndLaterJobsQueuedBehindItAreTakenBackOrKept) {
    Handover handover;
    ControlThread control(handover);
    auto* stuck = new TestJob(1, true, true);
    control.post(stuck);
    EXPECT_EQ(handover.await(stuck, 20ms, noteDecision), JobWait::orphaned);
    // A busy machine may not have started it yet: it is durable, so it runs.
    EXPECT_TRUE(eventually([&] { return handover.stuck(); }));

    auto* plainStart = new TestJob(2, false, false);
    control.post(plainStart);
    EXPECT_EQ(handover.await(plainStart, 20ms, noteDecision), JobWait::takenBack);
    EXPECT_TRUE(plainStart->decided);
    delete plainStart;

    auto* dropped = new TestJob(3, true, false);
    control.post(dropped);
    EXPECT_EQ(handover.await(dropped, 20ms, noteDecision), JobWait::orphaned);
    auto* kept = new TestJob(4, true, false);
    control.post(kept);
    EXPECT_EQ(handover.await(kept, 20ms, noteDecision), JobWait::orphaned);
    EXPECT_TRUE(handover.dropQueued([](const TestJob& job) { return job.id == 3; }));
    EXPECT_FALSE(handover.dropQueued([](const TestJob& job) { return job.id == 3; }));

    control.release();
    ASSERT_TRUE(eventually([&] { return control.orphansFreed().size() == 2; }));
    EXPECT_EQ(control.ran(), (std::vector<int>{1, 4})) << "a taken-back or dropped job ran";
    EXPECT_EQ(control.orphansFreed(), (std::vector<int>{1, 4})) << "an orphan's decision was lost";
    EXPECT_FALSE(handover.stuck());
}

TEST(ControlHandover, TheThreadEndsWhenIdleAfterQuitAndAPostStartsANewOne) {
    Handover handover;
    ControlThread control(handover);
    auto* first = new TestJob(1, false, false);
    control.post(first);
    ASSERT_EQ(handover.await(first, 20s, noteDecision), JobWait::done);
    delete first;
    handover.quit();
    EXPECT_TRUE(handover.awaitThreadEnd(20s));

    auto* second = new TestJob(2, false, false);
    control.post(second);
    ASSERT_EQ(handover.await(second, 20s, noteDecision), JobWait::done);
    delete second;
    EXPECT_EQ(control.threadsStarted, 2);

    // Quit while a job is stuck: the thread ends only once the platform answers.
    auto* stuck = new TestJob(3, true, true);
    control.post(stuck);
    EXPECT_EQ(handover.await(stuck, 20ms, noteDecision), JobWait::orphaned);
    handover.quit();
    EXPECT_FALSE(handover.awaitThreadEnd(50ms));
    control.release();
    EXPECT_TRUE(handover.awaitThreadEnd(20s));
    EXPECT_EQ(control.orphansFreed(), std::vector<int>{3});
}

}  // namespace
}  // namespace zembrit
