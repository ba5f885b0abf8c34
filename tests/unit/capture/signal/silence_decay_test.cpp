#include "capture/signal/silence_decay.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zembrit {
namespace {

TEST(SilenceDecay, GlidesToTheCentreAfterTwoQuietFramesAndStopsWhenSamplesCome) {
    TracePicture picture;
    TraceRow& row = picture.left;
    row[0] = 100, row[5] = -40;
    SilenceDecay decay;
    const uint32_t start = 0xFFFFFF00u;  // across the tick counter's wrap
    EXPECT_FALSE(decay.step(start + 80, start, 40, picture));
    EXPECT_EQ(row[0], 100);
    ASSERT_TRUE(decay.step(start + 81, start, 40, picture));
    EXPECT_EQ(row[0], 100);
    ASSERT_TRUE(decay.step(start + 81 + 125, start, 40, picture));
    EXPECT_EQ(row[0], 50);
    EXPECT_EQ(row[5], -20);
    ASSERT_TRUE(decay.step(start + 81 + 250, start, 40, picture));
    EXPECT_EQ(row[0], 0);
    EXPECT_FALSE(decay.step(start + 1000, start, 40, picture));  // flat stays flat without repaints

    row[0] = 77;  // new samples arrived at start + 1000
    EXPECT_FALSE(decay.step(start + 1050, start + 1000, 40, picture));
    EXPECT_EQ(row[0], 77);
    ASSERT_TRUE(decay.step(start + 1090, start + 1000, 40, picture));
    EXPECT_EQ(row[0], 77);  // a new glide starts from the new trace
}

// Same timing as the rows; each level of a pair is scaled, the count and the
// gain are kept, and a new figure's glide covers its own pairs only.
TEST(SilenceDecay, PairsGlideToTheCentreWithTheRowsTimingAndNewSamplesTakeOver) {
    TracePicture picture;
    XyFigure& figure = picture.figure;
    figure.pairs[0] = packLevels(100, -40);
    figure.pairs[1] = packLevels(-7, 20);
    figure.count = 2;
    figure.gain = 3.0f;
    SilenceDecay decay;
    const uint32_t start = 0xFFFFFF00u;
    EXPECT_FALSE(decay.step(start + 80, start, 40, picture));
    ASSERT_TRUE(decay.step(start + 81, start, 40, picture));
    EXPECT_EQ(figure.pairs[0], packLevels(100, -40));
    ASSERT_TRUE(decay.step(start + 81 + 125, start, 40, picture));
    EXPECT_EQ(figure.pairs[0], packLevels(50, -20));
    EXPECT_EQ(figure.pairs[1], packLevels(-3, 10));
    ASSERT_TRUE(decay.step(start + 81 + 250, start, 40, picture));
    EXPECT_EQ(figure.pairs[0], 0u);
    EXPECT_EQ(figure.pairs[1], 0u);
    EXPECT_EQ(figure.count, 2);
    EXPECT_EQ(figure.gain, 3.0f);
    EXPECT_FALSE(decay.step(start + 1000, start, 40, picture));

    figure.pairs[0] = packLevels(-80, 6);  // one pair arrived at start + 1000
    figure.pairs[1] = packLevels(9, 9);
    figure.count = 1;
    EXPECT_FALSE(decay.step(start + 1050, start + 1000, 40, picture));
    ASSERT_TRUE(decay.step(start + 1090, start + 1000, 40, picture));
    ASSERT_TRUE(decay.step(start + 1090 + 125, start + 1000, 40, picture));
    EXPECT_EQ(figure.pairs[0], packLevels(-40, 3));
    EXPECT_EQ(figure.pairs[1], packLevels(9, 9));
}

}  // namespace
}  // namespace zembrit
