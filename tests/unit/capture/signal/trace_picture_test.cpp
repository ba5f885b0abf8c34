#include "capture/signal/trace_picture.h"

#include <gtest/gtest.h>

namespace zembrit {
namespace {

void fillBarsAndLevels(TracePicture& picture) {
    picture.spectrum.count = 64;
    picture.spectrum.left.bars[0] = 8000;
    picture.spectrum.left.peaks[63] = 9000;
    picture.spectrum.right.bars[kMaxBands - 1] = 4000;
    picture.spectrum.right.peaks[10] = 6000;
    picture.levels.channels = 2;
    picture.levels.channel[0].rms = 7000;
    picture.levels.channel[1].hold = 5000;
    picture.levels.channel[1].clipped = 1;
}

// The bars and levels travel with the rest of the picture through a held
// copy, and count as a change to the repaint gate.
TEST(TracePicture, BarsAndLevelsAreCopiedComparedAndCleared) {
    TracePicture made;
    fillBarsAndLevels(made);
    HeldPicture held;
    copyInto(made, held);
    TracePicture shown;
    copyInto(held, shown);
    EXPECT_EQ(shown.spectrum.count, 64);
    EXPECT_EQ(shown.spectrum.left.peaks[63], 9000);
    EXPECT_EQ(shown.spectrum.right.bars[kMaxBands - 1], 4000);
    EXPECT_EQ(shown.levels.channels, 2);
    EXPECT_EQ(shown.levels.channel[1].clipped, 1);

    HeldPicture last;
    EXPECT_TRUE(changedSince(shown, last));
    EXPECT_FALSE(changedSince(shown, last));
    shown.levels.channel[1].hold = 5001;
    EXPECT_TRUE(changedSince(shown, last));
    shown.spectrum.count = 65;
    EXPECT_TRUE(changedSince(shown, last));

    clear(shown);
    EXPECT_EQ(shown.spectrum.count, 0);
    EXPECT_EQ(shown.spectrum.left.bars[0], 0);
    EXPECT_EQ(shown.levels.channels, 0);
    EXPECT_EQ(shown.levels.channel[0].rms, 0);
}

// Bars and levels sink toward their floor with the trace, keeping their counts.
TEST(TracePicture, BarsAndLevelsGlideTowardTheFloor) {
    TracePicture made;
    fillBarsAndLevels(made);
    HeldPicture from;
    copyInto(made, from);
    glideTowardRest(from, 125, 250, made);
    EXPECT_EQ(made.spectrum.left.bars[0], 4000);
    EXPECT_EQ(made.spectrum.right.peaks[10], 3000);
    EXPECT_EQ(made.levels.channel[0].rms, 3500);
    EXPECT_EQ(made.levels.channel[1].clipped, 0);
    EXPECT_EQ(made.spectrum.count, 64);
    glideTowardRest(from, 0, 250, made);
    EXPECT_EQ(made.spectrum.left.peaks[63], 0);
    EXPECT_EQ(made.levels.channel[1].hold, 0);
}

}  // namespace
}  // namespace zembrit
