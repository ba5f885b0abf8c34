#include "capture/signal/delay_line.h"

#include <gtest/gtest.h>

namespace zembrit {
namespace {

// Makes the picture "level" (its first point, its right row and its one
// X-Y pair all say which it is) and holds it at tick.
void pushPicture(DelayLine& line, uint32_t tick, int32_t level, int32_t delayMs, int32_t intervalMs) {
    line.left[0] = level;
    line.right[0] = -level;
    line.figure.count = 1;
    line.figure.pairs[0] = packLevels(level, level);
    line.push(tick, delayMs, intervalMs, true);
}

// Pictures come out in order, each once its delay has passed (across the
// tick counter's wrap), the newest due one winning; a line too short for
// all the pictures within its delay still holds the delay.
TEST(DelayLine, ShowsEachPictureOnceItsDelayHasPassedAndNeverEarly) {
    TraceRow left{}, right{};
    XyFigure figure;
    DelayLine line;
    const uint32_t start = 0xFFFFFF00u;  // wraps 256 ms in
    for (int32_t n = 0; n < 10; ++n) pushPicture(line, start + 40 * n, n + 1, 1500, 40);
    EXPECT_FALSE(line.publishDue(start + 1499, left, right, &figure)) << "shown before its delay";
    ASSERT_TRUE(line.publishDue(start + 1500, left, right, &figure));
    EXPECT_EQ(left[0], 1);
    EXPECT_EQ(right[0], -1);
    EXPECT_EQ(leftLevel(figure.pairs[0]), 1);
    EXPECT_EQ(figure.count, 1);
    ASSERT_TRUE(line.publishDue(start + 1500 + 40 * 3 + 20, left, right, &figure));
    EXPECT_EQ(left[0], 4) << "not the newest picture due";
    EXPECT_FALSE(line.publishDue(start + 1500 + 40 * 3 + 30, left, right, &figure));

    DelayLine crowded;  // 2000 ms at 1 ms a picture: more than its slots
    for (int32_t n = 0; n < 2000; ++n) pushPicture(crowded, n, n + 1, 2000, 1);
    EXPECT_FALSE(crowded.publishDue(1999, left, right, &figure)) << "a crowded line shortened the delay";
    ASSERT_TRUE(crowded.publishDue(2000, left, right, &figure));
    EXPECT_EQ(left[0], 1);
}

}  // namespace
}  // namespace zembrit
