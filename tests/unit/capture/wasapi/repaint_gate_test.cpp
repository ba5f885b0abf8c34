#include "capture/wasapi/repaint_gate.h"

#include <gtest/gtest.h>

namespace zembrit {
namespace {

// A due repaint is asked for only when the rows or the figure changed since
// the last one, and with motion blur for the repaints a blend takes to settle.
TEST(RepaintGate, AsksOnlyForWhatChangedAndWithBlurUntilTheBlendSettles) {
    TracePicture picture;
    TraceRow &left = picture.left, &right = picture.right;
    XyFigure& figure = picture.figure;
    RepaintGate gate;
    EXPECT_FALSE(gate.worthRequesting(picture, false, false)) << "flat rows the window already shows";
    right[5] = 3;
    EXPECT_TRUE(gate.worthRequesting(picture, false, false));
    EXPECT_FALSE(gate.worthRequesting(picture, false, false));
    EXPECT_TRUE(gate.worthRequesting(picture, false, true)) << "rows the decay moved";

    figure.count = 2;
    figure.pairs[1] = packLevels(4, -4);
    EXPECT_TRUE(gate.worthRequesting(picture, false, false));
    EXPECT_FALSE(gate.worthRequesting(picture, false, false));
    figure.pairs[3] = 99;  // beyond the figure's count: not shown
    EXPECT_FALSE(gate.worthRequesting(picture, false, false));

    left[0] = -7;
    int requests = 0;
    for (int frame = 0; frame < 2 * RepaintGate::kRepaintsToSettle; ++frame)
        requests += gate.worthRequesting(picture, true, false);
    EXPECT_EQ(requests, 1 + RepaintGate::kRepaintsToSettle);
}

}  // namespace
}  // namespace zembrit
