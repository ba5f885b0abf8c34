#include "capture/wasapi/retry_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace zembrit {
namespace {

TEST(RetrySchedule, DoublesFromHalfASecondToFiveAndStartsOverAfterSuccess) {
    RetrySchedule retry;
    std::vector<uint32_t> delays;
    for (int i = 0; i < 6; ++i) delays.push_back(retry.nextDelayMs());
    EXPECT_EQ(delays, (std::vector<uint32_t>{500, 1000, 2000, 4000, 5000, 5000}));
    retry.reset();
    EXPECT_EQ(retry.nextDelayMs(), 500u);
}

}  // namespace
}  // namespace zembrit
