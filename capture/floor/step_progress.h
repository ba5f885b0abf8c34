#pragma once
// How far a capture job got, written by the control thread as it goes and
// read by the shell's thread when it stops waiting: which start step it
// stands at, whether the stop unprepared its header, and since when the
// call into the platform now in flight has been waiting for an answer.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>

#include "capture/floor/capture_outcome.h"

namespace zembrit {

struct StepProgress {
    // The failure a start would have if it stopped where it is now.
    std::atomic<StartFailure> reached{StartFailure::DeviceNotOpened};
    std::atomic<bool> unprepared{false};
    std::atomic<int64_t> callSinceMs{0};  // steady-clock milliseconds; 0 while no call is in flight

    static int64_t nowMs() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    bool callOverdue(int64_t boundMs) const {
        const int64_t since = callSinceMs.load();
        return since != 0 && nowMs() - since > boundMs;
    }
};

// Marks one call into the platform for as long as it takes.
class PlatformCall {
public:
    explicit PlatformCall(StepProgress& progress) : progress_(progress) {
        progress_.callSinceMs = std::max<int64_t>(StepProgress::nowMs(), 1);
    }
    ~PlatformCall() { progress_.callSinceMs = 0; }
    PlatformCall(const PlatformCall&) = delete;
    PlatformCall& operator=(const PlatformCall&) = delete;

private:
    StepProgress& progress_;
};

template <class Call>
auto markedCall(StepProgress& progress, Call call) {
    const PlatformCall marked(progress);
    return call();
}

}  // namespace zembrit
