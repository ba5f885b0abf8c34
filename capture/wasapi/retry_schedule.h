#pragma once
#include <algorithm>
#include <cstdint>

namespace zembrit {

// How long a capture that failed waits before it opens again: half a second
// at first, doubling up to five seconds while the failures go on, so a
// missing device costs almost nothing and a returning one is found soon.
class RetrySchedule {
public:
    static constexpr uint32_t kFirstMs = 500;
    static constexpr uint32_t kLongestMs = 5000;

    uint32_t nextDelayMs() {
        const uint32_t delay = delayMs_;
        delayMs_ = std::min(delayMs_ * 2, kLongestMs);
        return delay;
    }

    // Capture ran again: the next failure starts over.
    void reset() { delayMs_ = kFirstMs; }

private:
    uint32_t delayMs_ = kFirstMs;
};

}  // namespace zembrit
