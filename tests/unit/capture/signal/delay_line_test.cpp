#include "capture/signal/delay_line.h"

#include <gtest/gtest.h>

namespace zembrit {
namespace {

// Makes the picture "level" (its first point, its right row and its one
// X-Y pair all say which it is) and holds it at tick.
void pushPicture(DelayLine& line, uint32_t tick, int32_t level, int32_t delayMs, int32_t intervalMs) {
    TracePicture made;
    made.left[0] = level;
    made.right[0] = -level;
    made.figure.count = 1;
    made.figure.pairs[0] = packLevels(level, level);
    line.push(tick, made, delayMs, intervalMs);
}

// Pictures come out in order, each once its delay has passed (across the
// tick counter's wrap), the newest due one winning; a line too short for
// all the pictures within its delay still holds the delay.
TEST(DelayLine, ShowsEachPictureOnceItsDelayHasPassedAndNeverEarly) {
    TracePicture shown;
    const TraceRow &left = shown.left, &right = shown.right;
    const XyFigure& figure = shown.figure;
    DelayLine line;
    const uint32_t start = 0xFFFFFF00u;  // wraps 256 ms in
    for (int32_t n = 0; n < 10; ++n) pushPicture(line, start + 40 * n, n + 1, 1500, 40);
    EXPECT_FALSE(line.publishDue(start + 1499, shown)) << "shown before its delay";
    ASSERT_TRUE(line.publishDue(start + 1500, shown));
    EXPECT_EQ(left[0], 1);
    EXPECT_EQ(right[0], -1);
    EXPECT_EQ(leftLevel(figure.pairs[0]), 1);
    EXPECT_EQ(figure.count, 1);
    ASSERT_TRUE(line.publishDue(start + 1500 + 40 * 3 + 20, shown));
    EXPECT_EQ(left[0], 4) << "not the newest picture due";
    EXPECT_FALSE(line.publishDue(start + 1500 + 40 * 3 + 30, shown));

    DelayLine crowded;  // 2000 ms at 1 ms a picture: more than its slots
    for (int32_t n = 0; n < 2000; ++n) pushPicture(crowded, n, n + 1, 2000, 1);
    EXPECT_FALSE(crowded.publishDue(1999, shown)) << "a crowded line shortened the delay";
    ASSERT_TRUE(crowded.publishDue(2000, shown));
    EXPECT_EQ(left[0], 1);
}

}  // namespace
}  // namespace zembrit
