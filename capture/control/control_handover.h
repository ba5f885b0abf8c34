#pragma once
// How the shell's thread hands capture work to the capture's control thread
// without ever waiting on the audio stack longer than it chose to:
// - the shell's thread posts a job and waits for it at most a bound of its
//   own; the job is then either done (the shell's again, to read and free),
//   taken back unstarted, or orphaned;
// - an orphan belongs to the control thread alone: it runs it to its end
//   and then undoes what the shell, deciding at the moment it stopped
//   waiting, reported as failed;
// - a job that is durable (a stop must always happen, a source that heals
//   by itself is wanted until it is stopped) is orphaned even while queued;
//   any other job still queued at its bound is taken back and never runs;
// - jobs run one at a time in the order posted, so at most one call into
//   the platform is ever in flight; while an orphan runs the control thread
//   counts as stuck, and the shell keeps its later waits short.
// Free of the platform so that it runs under a race detector; Mutex and
// Condition are std::mutex and std::condition_variable or types with the
// same members (lock, unlock; wait_for with a predicate, wait, notify_all).
#include <chrono>
#include <deque>
#include <mutex>

namespace zembrit {

enum class JobPhase { queued, running, finished };

// What a job carries for the handover; a job type derives from it.
struct HandedJob {
    bool durable = false;
    // Under the handover's lock.
    JobPhase phase = JobPhase::queued;
    bool orphaned = false;
};

enum class JobWait { done, takenBack, orphaned };

template <class Job, class Mutex, class Condition>
class ControlHandover {
public:
    // Shell: queues job, which the handover holds from now on. True when no
    // control thread runs to take it: the caller starts one.
    bool post(Job* job) {
        std::lock_guard<Mutex> guard(lock_);
        queue_.push_back(job);
        quitting_ = false;
        const bool start = !threadAlive_;
        threadAlive_ = true;
        changed_.notify_all();
        return start;
    }

    // Shell: no control thread could be started for the job just posted;
    // the caller has it back.
    void withdrawUnstarted(Job* job) {
        std::lock_guard<Mutex> guard(lock_);
        eraseQueued(job);
        threadAlive_ = false;
    }

    // Shell: waits at most bound for the job: one that answers within it,
    // however slowly, is done. Unless the job is done or taken back, it is
    // orphaned, and decide(job) runs under the lock first so the shell can
    // note in it what it reports, for the control thread to honour.
    template <class Decide>
    JobWait await(Job* job, std::chrono::milliseconds bound, Decide decide) {
        std::unique_lock<Mutex> guard(lock_);
        if (changed_.wait_for(guard, bound, [job] { return job->phase == JobPhase::finished; })) return JobWait::done;
        decide(*job);
        if (job->phase == JobPhase::queued && !job->durable) {
            eraseQueued(job);
            return JobWait::takenBack;
        }
        job->orphaned = true;
        return JobWait::orphaned;
    }

    // Shell: frees every queued job that matches, so that it never runs;
    // true when there was one.
    template <class Matches>
    bool dropQueued(Matches matches) {
        std::lock_guard<Mutex> guard(lock_);
        bool dropped = false;
        for (auto it = queue_.begin(); it != queue_.end();) {
            if (!matches(**it)) {
                ++it;
                continue;
            }
            delete *it;
            it = queue_.erase(it);
            dropped = true;
        }
        return dropped;
    }

    // True while an orphan runs: the platform has not answered in time.
    bool stuck() const {
        std::lock_guard<Mutex> guard(lock_);
        return runningOrphan();
    }

    // Shell: the control thread is to end once nothing is queued.
    void quit() {
        std::lock_guard<Mutex> guard(lock_);
        quitting_ = true;
        changed_.notify_all();
    }

    // Shell: true when the control thread ended within bound.
    bool awaitThreadEnd(std::chrono::milliseconds bound) {
        std::unique_lock<Mutex> guard(lock_);
        return changed_.wait_for(guard, bound, [this] { return !threadAlive_; });
    }

    // Control thread: the next job, now running; nullptr when it is to end,
    // after which it touches nothing of the handover again.
    Job* take() {
        std::unique_lock<Mutex> guard(lock_);
        changed_.wait(guard, [this] { return !queue_.empty() || quitting_; });
        if (queue_.empty()) {
            threadAlive_ = false;
            changed_.notify_all();
            return nullptr;
        }
        running_ = queue_.front();
        queue_.pop_front();
        running_->phase = JobPhase::running;
        return running_;
    }

    // Control thread: whether the shell already stopped waiting for job.
    bool orphaned(const Job* job) const {
        std::lock_guard<Mutex> guard(lock_);
        return job->orphaned;
    }

    // Control thread: job ended. True when the shell still waits and so
    // owns it again; false for an orphan, which the caller undoes and frees.
    bool finish(Job* job) {
        std::lock_guard<Mutex> guard(lock_);
        running_ = nullptr;
        job->phase = JobPhase::finished;
        changed_.notify_all();
        return !job->orphaned;
    }

private:
    bool runningOrphan() const { return running_ != nullptr && running_->orphaned; }

    void eraseQueued(Job* job) {
        for (auto it = queue_.begin(); it != queue_.end(); ++it)
            if (*it == job) {
                queue_.erase(it);
                return;
            }
    }

    mutable Mutex lock_;
    Condition changed_;
    std::deque<Job*> queue_;
    Job* running_ = nullptr;
    bool threadAlive_ = false;
    bool quitting_ = false;
};

}  // namespace zembrit
