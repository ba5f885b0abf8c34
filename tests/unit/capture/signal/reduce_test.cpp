#include "capture/signal/reduce.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "capture/floor/core_options.h"

namespace zembrit {
namespace {

constexpr int kPoints = 10;
constexpr int32_t kUnitScale = 256;  // dimension at which a raw value equals its amplitude

std::vector<int32_t> firstPoints(const TraceRow& row, int points = kPoints) {
    std::vector<int32_t> values;
    for (int i = 0; i < points; ++i) values.push_back(row[i].load());
    return values;
}

// Smooths the same raw row `rows` times into a row of zeros; returns every result.
std::vector<std::vector<int32_t>> smoothRepeatedly(const std::vector<int32_t>& raw, int rows) {
    TraceRow row{};
    std::vector<std::vector<int32_t>> results;
    for (int i = 0; i < rows; ++i) {
        smooth(raw.data(), static_cast<int>(raw.size()), row);
        results.push_back(firstPoints(row, static_cast<int>(raw.size())));
    }
    return results;
}

std::vector<int32_t> spike(int32_t height) {
    std::vector<int32_t> raw(kPoints, 0);
    raw[4] = height;
    return raw;
}

// Every byte holds its own offset (mod 256), so a raw value names the byte it came from.
std::vector<uint8_t> offsetBytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

std::array<int32_t, kMaxPoints> decimated(const ReductionInput& in, const TraceRow& previous) {
    std::array<int32_t, kMaxPoints> raw{};
    decimate(in, previous, raw.data());
    return raw;
}

// What an 8-bit read of offsetBytes gives at byte o with dimension 256.
int32_t fromByte8(int o) { return (o & 0xFF) - 128; }
// What a 16-bit read gives: the byte after the low byte, as signed.
int32_t fromByte16(int o) { return static_cast<int8_t>(o + 1); }

TEST(ReduceSmooth, ZerosSettleOneBelowTheCentreInside) {
    const std::vector<int32_t> expected{0, -1, -1, -1, -1, -1, -1, -1, -1, 0};
    for (const auto& row : smoothRepeatedly(std::vector<int32_t>(kPoints, 0), 3)) EXPECT_EQ(row, expected);
}

TEST(ReduceSmooth, FlatInputKeepsEndsAndSettlesInsideOneBelow) {
    struct Case {
        int32_t r;
        std::vector<int32_t> interior;
    };
    for (const Case& c : {Case{4, {2, 3, 3}}, Case{-4, {-4, -5, -5}}}) {
        const auto rows = smoothRepeatedly(std::vector<int32_t>(kPoints, c.r), 3);
        for (size_t n = 0; n < rows.size(); ++n) {
            EXPECT_EQ(rows[n].front(), c.r);
            EXPECT_EQ(rows[n].back(), c.r);
            for (int i = 1; i < kPoints - 1; ++i)
                EXPECT_EQ(rows[n][i], c.interior[n]) << "r " << c.r << " row " << n << " point " << i;
        }
    }
}

TEST(ReduceSmooth, PositiveSpikeSpreadsToItsNeighbours) {
    const auto rows = smoothRepeatedly(spike(40), 4);
    EXPECT_EQ(rows[0], (std::vector<int32_t>{0, -1, -1, 9, 9, 9, -1, -1, -1, 0}));
    for (size_t n = 1; n < rows.size(); ++n)
        for (int i : {3, 4, 5}) EXPECT_EQ(rows[n][i], 12) << "row " << n << " point " << i;
}

TEST(ReduceSmooth, NegativeSpikeSettlesFurtherOut) {
    const auto rows = smoothRepeatedly(spike(-40), 5);
    const int32_t expected[] = {-11, -13, -14, -14, -14};
    for (size_t n = 0; n < rows.size(); ++n)
        for (int i : {3, 4, 5}) EXPECT_EQ(rows[n][i], expected[n]) << "row " << n << " point " << i;
}

TEST(ReduceSmooth, EndPointsRoundTowardMinusInfinity) {
    std::vector<int32_t> raw(kPoints, 0);
    raw[0] = -3;
    raw[kPoints - 1] = 3;
    const auto row = smoothRepeatedly(raw, 1)[0];
    EXPECT_EQ(row.front(), -2);
    EXPECT_EQ(row.back(), 1);
}

TEST(ReduceSmooth, InteriorReadsOnlyItsOwnPreviousValue) {
    TraceRow row{};
    for (int i = 0; i < kTraceCapacity; ++i) row[i] = 100 * i + 1;
    const std::vector<int32_t> raw(kPoints, 0);
    smooth(raw.data(), kPoints, row);
    for (int i = 1; i < kPoints - 1; ++i) EXPECT_EQ(row[i].load(), (100 * i) >> 2) << i;
    EXPECT_EQ(row[0].load(), 0);
    EXPECT_EQ(row[kPoints - 1].load(), 0);
    EXPECT_EQ(row[kPoints].load(), 100 * kPoints + 1) << "beyond the trace stays as it was";
}

TEST(ReduceSmooth, SumsNearTheRawBoundDoNotOverflow) {
    constexpr int32_t kBound = 1 << 30;
    for (int32_t r : {kBound, -kBound}) {
        TraceRow row{};
        for (int i = 0; i < kPoints; ++i) row[i] = r;
        const std::vector<int32_t> raw(kPoints, r);
        smooth(raw.data(), kPoints, row);
        EXPECT_EQ(row[0].load(), r);
        EXPECT_EQ(row[5].load(), r - 1);
    }
}

TEST(ReduceDecimate, EachGroupTakesItsLastCoveredByte) {
    TraceRow previous{};
    previous[9] = 777;
    struct Case {
        uint32_t byteCount;
        int sampleBits;
        int32_t group9;
    };
    const Case cases[] = {
        {160, 8, fromByte8(152)},
        {150, 8, fromByte8(144)},
        {145, 8, fromByte8(144)},
        {144, 8, 777},
        {140, 8, 777},
        {160, 16, fromByte16(152)},
        {150, 16, fromByte16(144)},
        {153, 16, fromByte16(144)},  // byte 152's high byte was not recorded
        {145, 16, 777},              // nor byte 144's
    };
    const auto bytes = offsetBytes(160);
    for (const Case& c : cases) {
        const auto raw = decimated({bytes.data(), c.byteCount, kPoints, c.sampleBits, kUnitScale}, previous);
        for (int k = 0; k < 9; ++k) {
            const int32_t expected = c.sampleBits == 8 ? fromByte8(16 * k + 8) : fromByte16(16 * k + 8);
            EXPECT_EQ(raw[k], expected) << c.byteCount << " bytes, " << c.sampleBits << " bits, group " << k;
        }
        EXPECT_EQ(raw[9], c.group9) << c.byteCount << " bytes, " << c.sampleBits << " bits";
    }
}

TEST(ReduceDecimate, ReadsNoFurtherThanThePointsCover) {
    // An exact-size heap block, so the address sanitizer flags any read past it.
    for (int sampleBits : {8, 16}) {
        for (int points : {kPoints, kMaxPoints}) {
            const size_t size = static_cast<size_t>(points) * kBytesPerPoint;
            const auto bytes = std::make_unique<uint8_t[]>(size);
            for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i);
            const auto raw = decimated({bytes.get(), 100000, points, sampleBits, kUnitScale}, TraceRow{});
            const int last = 16 * (points - 1) + 8;
            EXPECT_EQ(raw[points - 1], sampleBits == 8 ? fromByte8(last) : fromByte16(last));
        }
    }
}

TEST(ReduceDecimate, PointsOutsideTheRangeAreClamped) {
    const auto bytes = std::make_unique<uint8_t[]>(kMaxPoints * kBytesPerPoint);
    for (int points : {-5, 0, 9}) {
        TraceRow row{};
        row[kPoints - 1] = 55;
        row[kPoints] = 55;
        reduceInto({bytes.get(), kPoints * kBytesPerPoint, points, 16, 25}, row);
        EXPECT_EQ(row[kPoints].load(), 55) << points;
        EXPECT_EQ(row[kPoints - 1].load(), 0) << "points " << points;
    }
    TraceRow row{};
    row[kMaxPoints - 1] = 55;
    row[kMaxPoints] = 55;
    reduceInto({bytes.get(), 100000, 5000, 16, 25}, row);
    EXPECT_EQ(row[kMaxPoints].load(), 55);
    EXPECT_EQ(row[kMaxPoints - 1].load(), 0);
    EXPECT_EQ(row[kMaxPoints - 2].load(), -1);
}

TEST(ReduceDecimate, ScalesByDimensionOver256TruncatingTowardZero) {
    for (int32_t dimension : {25, 100, 1, 0, -25, 640}) {
        for (int s = -128; s <= 127; ++s) {
            std::vector<uint8_t> bytes(160, static_cast<uint8_t>(s + 128));
            const auto raw = decimated({bytes.data(), 160, kPoints, 8, dimension}, TraceRow{});
            ASSERT_EQ(raw[3], s * dimension / 256) << "s " << s << " dimension " << dimension;
        }
    }
    std::vector<uint8_t> bytes(160, 0);  // 8-bit amplitude -128
    EXPECT_EQ(decimated({bytes.data(), 160, kPoints, 8, 25}, TraceRow{})[0], -12);
}

TEST(ReduceDecimate, ExtremeDimensionsStayDefined) {
    std::vector<uint8_t> lowest(160, 0), highest(160, 255);  // 8-bit -128 and 127
    auto first = [](const std::vector<uint8_t>& bytes, int32_t dimension) {
        return decimated({bytes.data(), 160, kPoints, 8, dimension}, TraceRow{})[0];
    };
    // INT32_MAX becomes 2^31 as a float: the scale is 2^23.
    EXPECT_EQ(first(lowest, INT32_MAX), -(1 << 30));
    EXPECT_EQ(first(highest, INT32_MAX), 127 << 23);
    EXPECT_EQ(first(lowest, INT32_MIN), 1 << 30);
    EXPECT_EQ(first(highest, INT32_MIN), -(127 << 23));

    TraceRow row{};
    for (int n = 0; n < 20; ++n) reduceInto({lowest.data(), 160, kPoints, 8, INT32_MIN}, row);
    EXPECT_EQ(row[0].load(), 1 << 30);
    EXPECT_EQ(row[5].load(), (1 << 30) - 1);
}

TEST(ReduceDecimate, SampleDepthChoosesHowTheByteIsRead) {
    struct Case {
        uint8_t low, high;
        int32_t eightBit, sixteenBit;
    };
    const Case cases[] = {
        {0x80, 0x00, 0, 0},        // silence in both depths
        {0x00, 0x40, -128, 64},    // 16-bit 0x4000
        {0xFF, 0xFF, 127, -1},     // 16-bit -1
        {0x00, 0x80, -128, -128},  // 16-bit lowest
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(160, 0);
        bytes[8] = c.low;
        bytes[9] = c.high;
        EXPECT_EQ(decimated({bytes.data(), 160, kPoints, 8, kUnitScale}, TraceRow{})[0], c.eightBit);
        for (int deeper : {16, 24, 32})
            EXPECT_EQ(decimated({bytes.data(), 160, kPoints, deeper, kUnitScale}, TraceRow{})[0], c.sixteenBit)
                << deeper << " bits";
    }
}

TEST(ReduceDimension, OnlyLowerCaseHUsesTheHeight) {
    EXPECT_EQ(dimensionFor('h', 100, 25), 25);
    for (char other : {'v', 'H', '\0'}) EXPECT_EQ(dimensionFor(other, 100, 25), 100) << int(other);

    ScopeSettings settings;              // 100 by 25, "h", 32 points
    std::vector<uint8_t> bytes(512, 0);  // 8-bit -128 everywhere
    const TraceShape shape = traceShapeOf(settings);
    ReductionInput in{bytes.data(), 512, shape.points, 8, shape.dimension};
    EXPECT_EQ(in.points, 32);
    EXPECT_EQ(in.dimension, 25);
    EXPECT_EQ(decimated(in, TraceRow{})[0], -12);

    settings.scopeType = 'v';
    settings.width = 300;
    EXPECT_EQ(traceShapeOf(settings).dimension, 300);
}

TEST(ReduceInto, NoRecordedBytesLeaveTheRowAlone) {
    TraceRow row{};
    for (int i = 0; i < kTraceCapacity; ++i) row[i] = i - 50;
    const std::vector<uint8_t> bytes(160, 0);
    reduceInto({bytes.data(), 0, kPoints, 16, 25}, row);
    for (int i = 0; i < kTraceCapacity; ++i) EXPECT_EQ(row[i].load(), i - 50) << i;
}

TEST(ReduceInto, AShortBufferLeavesTheUnrecordedTailWhereItWas) {
    TraceRow row{};
    for (int i = 0; i < kPoints; ++i) row[i] = 8;
    const std::vector<uint8_t> bytes(160, 0x80);  // 8-bit silence
    reduceInto({bytes.data(), 80, kPoints, 8, 25}, row);
    EXPECT_EQ(firstPoints(row), (std::vector<int32_t>{0, 1, 1, 1, 3, 5, 7, 7, 7, 8}));
}

TEST(ReduceThrottle, RepaintsOnlyAfterMoreThanTheInterval) {
    EXPECT_FALSE(repaintDue(540, 500, 40));
    EXPECT_TRUE(repaintDue(541, 500, 40));
    EXPECT_TRUE(repaintDue(40, 0xFFFFFFFAu, 40)) << "46 ms across the wrap";
    EXPECT_FALSE(repaintDue(34, 0xFFFFFFFAu, 40)) << "40 ms across the wrap";
    EXPECT_FALSE(repaintDue(777, 777, 0));
    EXPECT_TRUE(repaintDue(778, 777, 0));
    EXPECT_TRUE(repaintDue(0, 0xFFFFFFFFu, 0));
}

}  // namespace
}  // namespace zembrit
