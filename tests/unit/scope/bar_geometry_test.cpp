#include "scope/bar_geometry.h"

#include <gtest/gtest.h>

namespace zembrit {
namespace {

// A 100 x 40 window at (10, 20) with 2-pixel margins: the area is 96 x 36.
const ClientRect kArea = barArea({10, 20, 999, 999}, 100, 40, 2);

TEST(BarGeometry, BandsTileTheLengthAndStandOnTheBase) {
    EXPECT_EQ(kArea.left, 12);
    EXPECT_EQ(kArea.bottom, 58);
    const BarBox first = spectrumBar(kArea, true, 0, 8, BarHalf::whole, 1.0);
    const BarBox second = spectrumBar(kArea, true, 1, 8, BarHalf::whole, 0.5);
    const BarBox last = spectrumBar(kArea, true, 7, 8, BarHalf::whole, 0);
    EXPECT_EQ(first.left, 12);
    EXPECT_EQ(first.right, 12 + 11);  // 12 pixels wide, one left as a gap
    EXPECT_EQ(second.left, 12 + 12);
    EXPECT_EQ(first.top, 22);
    EXPECT_EQ(second.top, 58 - 18);
    EXPECT_EQ(first.bottom, 58);
    EXPECT_EQ(last.top, last.bottom);  // at the floor: nothing drawn
    EXPECT_EQ(last.right, 12 + 95);
    // Too high a value stands no taller than the area.
    EXPECT_EQ(spectrumBar(kArea, true, 0, 8, BarHalf::whole, 3.0).top, 22);
}

TEST(BarGeometry, StereoMirrorsAboutTheMiddleAndAVerticalScopeRunsUpFromTheLeft) {
    const BarBox up = spectrumBar(kArea, true, 0, 4, BarHalf::first, 1.0);
    const BarBox down = spectrumBar(kArea, true, 0, 4, BarHalf::second, 1.0);
    EXPECT_EQ(up.bottom, 58 - 18);
    EXPECT_EQ(up.top, 22);
    EXPECT_EQ(down.top, 58 - 18);
    EXPECT_EQ(down.bottom, 58);

    const BarBox lowest = spectrumBar(kArea, false, 0, 4, BarHalf::whole, 0.5);
    EXPECT_EQ(lowest.bottom, 58);
    EXPECT_EQ(lowest.top, 58 - 8);  // 36 / 4 tall, less the gap
    EXPECT_EQ(lowest.left, 12);
    EXPECT_EQ(lowest.right, 12 + 48);

    const BarBox mark = peakMark(kArea, true, 0, 4, BarHalf::whole, 0.5, 1);
    EXPECT_EQ(mark.top, 58 - 18);
    EXPECT_EQ(mark.bottom, 58 - 17);
}

TEST(BarGeometry, MeterTracksRunAlongTheBaseAndMarksStayOnThem) {
    const BarBox rms = meterSpan(kArea, true, 0, 3, 0, 0.5);
    EXPECT_EQ(rms.left, 12);
    EXPECT_EQ(rms.right, 12 + 48);
    EXPECT_EQ(rms.bottom, 58);
    EXPECT_EQ(rms.top, 55);
    const BarBox second = meterSpan(kArea, true, 1, 3, 0, 1.0);
    EXPECT_EQ(second.bottom, 58 - 4);
    EXPECT_EQ(second.top, 58 - 7);
    const BarBox clip = meterMark(kArea, true, 0, 3, 1.0);
    EXPECT_EQ(clip.right, 12 + 96);
    EXPECT_EQ(clip.left, 12 + 93);
    const BarBox low = meterMark(kArea, true, 0, 3, 0.0001);  // held at the start
    EXPECT_EQ(low.left, 12);
    EXPECT_EQ(low.right, 15);
}

TEST(BarGeometry, MarginsWiderThanTheWindowDrawNothing) {
    const ClientRect none = barArea({0, 0, 10, 10}, 10, 10, 20);
    const BarBox bar = spectrumBar(none, true, 3, 4, BarHalf::first, 1.0);
    EXPECT_LE(bar.right - bar.left, 0);
    const BarBox track = meterSpan(none, false, 1, 3, 0, 1.0);
    EXPECT_TRUE(track.right <= track.left || track.bottom <= track.top);
    const ClientRect huge = barArea({INT32_MAX - 5, 0, 0, 0}, INT32_MAX, 100, 0);
    EXPECT_EQ(huge.right, INT32_MAX);
}

}  // namespace
}  // namespace zembrit
