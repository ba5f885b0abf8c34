#include "capture/signal/reduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace zembrit {
namespace {

constexpr int32_t kDimension = 25;
// Raw values lie in [-12, 12] at this size. Ends average two of them; an
// interior point (previous + three raws - 1) >> 2 stays within [-13, 11]
// while the previous value lies in [-13, 12], so the row never leaves [-13, 12].
constexpr int32_t kLowest = -13;
constexpr int32_t kHighest = 12;
// The paint reads until the capture has made this many reductions, however
// long a busy machine takes (a minute at the most).
constexpr int kReductions = 200;
constexpr auto kLongestRun = std::chrono::seconds(60);

uint32_t nextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// The capture thread reduces fresh 16-bit buffers while another thread keeps
// changing the point count and the paint reads the row, with no lock between.
TEST(ReduceRace, ReductionPointChangesAndPaintShareTheRowSafely) {
    TraceRow row{};
    Relaxed<int32_t> points{kMinPoints};
    std::atomic<bool> stop{false};
    std::atomic<int> reductions{0};

    std::thread capture([&] {
        std::array<uint8_t, kMaxPoints * kBytesPerPoint> buffer{};
        uint32_t state = 0x9E3779B9u;
        while (!stop.load()) {
            for (uint8_t& byte : buffer) byte = static_cast<uint8_t>(nextRandom(state));
            reduceInto({buffer.data(), static_cast<uint32_t>(buffer.size()), points.load(), 16, kDimension}, row);
            reductions.fetch_add(1);
        }
    });
    std::thread settings([&] {
        int32_t next = kMinPoints;
        while (!stop.load()) {
            next = next >= kMaxPoints ? kMinPoints : next + 7;
            points = std::min(next, kMaxPoints);
            std::this_thread::yield();
        }
    });

    int outOfBounds = 0;
    bool sawTrace = false;
    const auto end = std::chrono::steady_clock::now() + kLongestRun;
    while (reductions.load() < kReductions && std::chrono::steady_clock::now() < end) {
        for (int i = 0; i < kTraceCapacity; ++i) {
            const int32_t value = row[i].load();
            outOfBounds += value < kLowest || value > kHighest;
            sawTrace |= value != 0;
        }
    }
    stop = true;
    capture.join();
    settings.join();

    EXPECT_EQ(outOfBounds, 0);
    EXPECT_TRUE(sawTrace);
    EXPECT_GE(reductions.load(), kReductions);
    EXPECT_EQ(row[kMaxPoints].load(), 0) << "the element past the last point is never written";
}

}  // namespace
}  // namespace zembrit
