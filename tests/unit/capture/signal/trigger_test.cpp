#include "capture/signal/trigger.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zembrit {
namespace {

// The hysteresis follows the recent peak, so a signal that turns quiet arms
// the trigger again within a few buffers.
TEST(TriggerMemory, AnOlderLouderPeakFadesByAQuarterPerBufferAndALouderOneTakesOver) {
    TriggerMemory memory;
    rememberPeak(memory, 20000);
    EXPECT_EQ(memory.recentPeak, 20000);
    for (int32_t faded : {15000, 11250, 8438}) {
        rememberPeak(memory, 1000);
        EXPECT_EQ(memory.recentPeak, faded);
    }
    rememberPeak(memory, 9000);
    EXPECT_EQ(memory.recentPeak, 9000);
}

}  // namespace
}  // namespace zembrit
