#include "capture/recording_format.h"

#include <gtest/gtest.h>

#include <climits>

namespace zembrit {
namespace {

TEST(RecordingFormat, RatesAndDepthsNoDeviceRecordsAreRefused) {
    // 4294967 kHz is the last rate whose samples a second still fit 32 bits.
    for (int32_t kiloHertz : {INT_MIN, -1, 0, 385, 4294967, INT_MAX}) EXPECT_FALSE(recordingFormatFor(kiloHertz, 16));
    for (int32_t bits : {INT_MIN, 0, 33, INT_MAX}) EXPECT_FALSE(recordingFormatFor(16, bits));
}

TEST(RecordingFormat, EveryOtherRateAndDepthIsAskedForAsStored) {
    struct Case {
        int32_t kiloHertz, bits;
        RecordingFormat format;
    };
    for (const Case& c : {Case{1, 1, {1000, 0, 0, 1}}, Case{16, 12, {16000, 16000, 1, 12}},
                          Case{44, 16, {44000, 88000, 2, 16}}, Case{384, 32, {384000, 1536000, 4, 32}}}) {
        const auto format = recordingFormatFor(c.kiloHertz, c.bits);
        ASSERT_TRUE(format) << c.kiloHertz << " kHz, " << c.bits << " bits";
        EXPECT_EQ(format->samplesPerSecond, c.format.samplesPerSecond);
        EXPECT_EQ(format->bytesPerSecond, c.format.bytesPerSecond);
        EXPECT_EQ(format->blockAlign, c.format.blockAlign);
        EXPECT_EQ(format->bitsPerSample, c.format.bitsPerSample);
    }
}

}  // namespace
}  // namespace zembrit
