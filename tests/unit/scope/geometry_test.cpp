#include "scope/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace zembrit {
namespace {

constexpr ClientRect kClient{0, 0, 100, 25};

std::vector<Point> trace(const ClientRect& client, int32_t width, int32_t height, int32_t margin, bool horizontal,
                         const std::vector<int32_t>& values) {
    std::vector<Point> points(values.size());
    tracePoints(client, width, height, margin, horizontal, values.data(), static_cast<int>(values.size()),
                points.data());
    return points;
}

TEST(TracePoints, FlatHorizontalTraceSpansTheMarginsOnTheCentreLine) {
    const auto points = trace(kClient, 100, 25, 1, true, std::vector<int32_t>(32, 0));
    const int32_t firstX[] = {1, 4, 7, 10, 13, 16};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(points[i].x, firstX[i]) << i;
    for (const Point& p : points) EXPECT_EQ(p.y, 12);
    EXPECT_EQ(points.back().x, 99);
}

TEST(TracePoints, SinglePrecisionStepEndsOnePixelShortWithHundredPoints) {
    const auto points = trace(kClient, 100, 25, 1, true, std::vector<int32_t>(100, 0));
    EXPECT_EQ(points.back().x, 98);
}

TEST(TracePoints, ValuesMoveUpOrLeftAndOnlyClientOriginIsUsed) {
    std::vector<int32_t> values(10, 0);
    values[3] = 200;
    values[4] = -7;
    const ClientRect shifted{5, 8, 999, 999};
    const auto horizontal = trace(shifted, 100, 25, 1, true, values);
    EXPECT_EQ(horizontal[3].y, 8 + 12 - 200);
    EXPECT_EQ(horizontal[4].y, 8 + 12 + 7);
    EXPECT_EQ(horizontal[0].x, 6);

    const auto vertical = trace(shifted, 100, 25, 1, false, values);
    EXPECT_EQ(vertical[0].x, 5 + 50);
    EXPECT_EQ(vertical[3].x, 5 + 50 - 200);
    EXPECT_EQ(vertical[0].y, 9);
    EXPECT_EQ(vertical[9].y, 8 + 1 + 23);
}

TEST(TracePoints, NegativeSpanRunsBackFromTheOrigin) {
    const auto points = trace(kClient, 100, 25, 60, true, std::vector<int32_t>(11, 0));
    EXPECT_EQ(points[0].x, 60);
    EXPECT_EQ(points[1].x, 58);
    EXPECT_EQ(points[10].x, 40);
}

TEST(TracePoints, OddHeightHalvesDownwardsEvenWhenNegative) {
    EXPECT_EQ(trace(kClient, 100, -25, 1, true, {0, 0})[0].y, -13);
}

TEST(TracePoints, ExtremeInputsSaturateInsteadOfOverflowing) {
    const auto big = trace(ClientRect{INT_MAX, INT_MAX, 0, 0}, INT_MAX, INT_MAX, INT_MIN, true, {INT_MIN, INT_MAX, 0});
    EXPECT_EQ(big[0].x, -1);  // INT_MAX + INT_MIN
    EXPECT_EQ(big[0].y, INT_MAX);
    EXPECT_EQ(big[1].x, INT_MAX);
    EXPECT_EQ(big[1].y, INT_MAX >> 1);
    EXPECT_EQ(big[2].y, INT_MAX);
    const auto small = trace(ClientRect{INT_MIN, INT_MIN, 0, 0}, INT_MIN, INT_MIN, INT_MAX, false, {INT_MAX, 0, 0});
    EXPECT_EQ(small[0].x, INT_MIN);
    EXPECT_EQ(small[0].y, -1);
    EXPECT_EQ(small[2].y, INT_MIN);
    const auto one = trace(kClient, 100, 25, 1, true, {5});
    EXPECT_EQ(one[0].x, 1);
    EXPECT_EQ(one[0].y, 7);
}

TEST(XyPoints, QuadratureTouchesEveryMarginAndEqualChannelsDrawTheDiagonal) {
    std::vector<LevelPair> circle, diagonal;
    for (int i = 0; i < 720; ++i) {
        const double angle = i * 3.14159265358979 / 360;
        circle.push_back(
            {int32_t(std::lround(32767 * std::cos(angle))), int32_t(std::lround(32767 * std::sin(angle)))});
        diagonal.push_back({-32768 + i * 91, -32768 + i * 91});
    }
    const auto figure = [](Point size, float gain, const std::vector<LevelPair>& pairs) {
        std::vector<Point> points(pairs.size());
        xyPoints({0, 0, size.x, size.y}, size.x, size.y, 1, gain, pairs.data(), int(pairs.size()), points.data());
        return points;
    };
    for (Point size : {Point{100, 25}, Point{400, 100}, Point{101, 26}}) {
        const auto ellipse = figure(size, 1.0f, circle);  // from full right, a quarter turn each 180
        EXPECT_NEAR(ellipse[0].x, size.x - 1, 1);
        EXPECT_NEAR(ellipse[180].y, 1, 1);
        EXPECT_NEAR(ellipse[360].x, 1, 1);
        EXPECT_NEAR(ellipse[540].y, size.y - 1, 1);
        for (const Point& p : figure(size, 1.0f, diagonal)) {
            const double across = (p.x - size.x / 2.0) / (size.x / 2.0 - 1);
            EXPECT_NEAR(p.y, size.y / 2.0 - across * (size.y / 2.0 - 1), 1.0) << p.x;
        }
        for (const Point& p : figure(size, 16.0f, circle))
            EXPECT_TRUE(p.x >= 1 && p.x <= size.x - 1 && p.y >= 1 && p.y <= size.y - 1) << "magnified, still inside";
    }
}

Triangle tab(const char* position, int32_t borderWidth = 1) {
    Triangle triangle{};
    EXPECT_TRUE(tabTriangle(position, kClient, borderWidth, triangle)) << (position ? position : "nullptr");
    return triangle;
}

void expectCorners(const Triangle& t, Point a, Point b, Point c) {
    const Point expected[] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(t.corners[i].x, expected[i].x) << "corner " << i;
        EXPECT_EQ(t.corners[i].y, expected[i].y) << "corner " << i;
    }
}

TEST(TabTriangle, EachCornerCodeAndTheHiddenTab) {
    expectCorners(tab("br"), {99, 24}, {90, 24}, {99, 15});
    expectCorners(tab("tr"), {99, 1}, {90, 1}, {99, 10});
    expectCorners(tab("bl"), {1, 24}, {10, 24}, {1, 15});
    expectCorners(tab("tl"), {1, 1}, {10, 1}, {1, 10});
    Triangle untouched{};
    EXPECT_FALSE(tabTriangle("ht", kClient, 1, untouched));
}

// At 150 % the legs end 15 pixels in and the border is 2 wide.
TEST(TabTriangle, ScaledLegsEndFurtherIn) {
    Triangle scaled{};
    ASSERT_TRUE(tabTriangle("tl", kClient, 2, scaled, 15));
    expectCorners(scaled, {2, 2}, {15, 2}, {2, 15});
    ASSERT_TRUE(tabTriangle("br", kClient, 2, scaled, 15));
    expectCorners(scaled, {98, 23}, {85, 23}, {98, 10});
}

TEST(TabTriangle, UnknownCodesDrawAsBottomRight) {
    for (const char* code : {"BR", "TL", "HT", "x", "", "tlx", static_cast<const char*>(nullptr)})
        expectCorners(tab(code), {99, 24}, {90, 24}, {99, 15});
}

// 100 x 25 with the widest pen, 300: the tab can show up to a border of 745.
TEST(TabTriangle, BorderTooWideToShowAnyOfTheTab) {
    for (int32_t width : {1, 10, 745, -745}) EXPECT_TRUE(tabReachesClient(kClient, width)) << width;
    for (int32_t width : {746, -746, INT_MAX, INT_MIN}) EXPECT_FALSE(tabReachesClient(kClient, width)) << width;
    EXPECT_TRUE(tabReachesClient(ClientRect{INT_MAX, INT_MIN, 0, 0}, INT_MAX));
}

TEST(TabTriangle, WideBorderCollapsesThenReverses) {
    expectCorners(tab("br", 10), {90, 15}, {90, 15}, {90, 15});
    expectCorners(tab("tl", 14), {14, 14}, {10, 14}, {14, 10});
    Triangle extreme{};
    ASSERT_TRUE(tabTriangle("tl", ClientRect{INT_MAX, INT_MIN, 0, 0}, INT_MAX, extreme));
    expectCorners(extreme, {INT_MAX, -1}, {INT_MAX, -1}, {INT_MAX, INT_MIN + 10});
}

TEST(PenWidth, BoundedByThreeTimesTheLargerClientSide) {
    EXPECT_EQ(boundedPenWidth(4, 100, 25), 4);
    EXPECT_EQ(boundedPenWidth(300, 100, 25), 300);
    EXPECT_EQ(boundedPenWidth(301, 100, 25), 300);
    EXPECT_EQ(boundedPenWidth(INT_MAX, 20, 90), 270);
    EXPECT_EQ(boundedPenWidth(INT_MAX, INT_MAX, 1), INT_MAX);
    EXPECT_EQ(boundedPenWidth(7, 0, -5), 1);
    EXPECT_EQ(boundedPenWidth(0, 100, 25), 0);
    EXPECT_EQ(boundedPenWidth(-300, 100, 25), -300);
    EXPECT_EQ(boundedPenWidth(-49624814, 100, 25), -300);
    EXPECT_EQ(boundedPenWidth(INT_MIN, 100, 25), -300);
    EXPECT_EQ(boundedPenWidth(INT_MIN, INT_MAX, 1), INT_MIN);
}

}  // namespace
}  // namespace zembrit
