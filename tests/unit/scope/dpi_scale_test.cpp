#include "scope/dpi_scale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace zembrit {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(DpiScale, RoundsHalfAwayFromZeroAndChangesNothingAt96OrUnknownDpi) {
    EXPECT_EQ(shownFromStored(25, 144), 38);  // 37.5
    EXPECT_EQ(shownFromStored(-25, 144), -38);
    EXPECT_EQ(shownFromStored(10, 120), 13);  // 12.5
    EXPECT_EQ(shownFromStored(7, 120), 9);    // 8.75
    EXPECT_EQ(storedFromShown(151, 144), 101);
    EXPECT_EQ(storedFromShown(-151, 144), -101);
    for (int32_t value : {0, 1, -1, 5, 16, -3000, kMax, kMin})
        for (uint32_t dpi : {96u, 0u}) {
            EXPECT_EQ(shownFromStored(value, dpi), value) << value << " at " << dpi;
            EXPECT_EQ(storedFromShown(value, dpi), value) << value << " at " << dpi;
        }
}

// A stored value shown and read back is the value again, so a window placed
// from the file and reporting its place stores what it was given.
TEST(DpiScale, StoredValuesSurviveTheRoundTripAtEveryCommonScale) {
    for (uint32_t dpi : {96u, 120u, 144u, 192u}) {
        for (int32_t stored = -2000; stored <= 2000; ++stored)
            ASSERT_EQ(storedFromShown(shownFromStored(stored, dpi), dpi), stored) << stored << " at " << dpi;
        EXPECT_EQ(storedFromShown(shownFromStored(500'000'001, dpi), dpi), 500'000'001) << dpi;
    }
}

TEST(DpiScale, SmallestLengthsStayVisibleAndHugeOnesSaturate) {
    EXPECT_EQ(shownLength(5, 144), 8);  // the smallest size, 7.5
    EXPECT_EQ(shownLength(1, 30), 1);   // 0.31 would round to 0
    EXPECT_EQ(shownLength(-1, 30), -1);
    EXPECT_EQ(shownLength(0, 192), 0);
    EXPECT_EQ(shownFromStored(1, 30), 0);
    EXPECT_EQ(shownFromStored(96, 1), 24);  // held to 24 DPI
    EXPECT_EQ(shownFromStored(kMax, 192), kMax);
    EXPECT_EQ(shownFromStored(kMin, 192), kMin);
    EXPECT_EQ(shownFromStored(kMax, 0xFFFFFFFFu), kMax);
}

}  // namespace
}  // namespace zembrit
