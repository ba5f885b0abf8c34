#include "capture/wave_in/recording_format.h"

#include <gtest/gtest.h>

#include <climits>

namespace zembrit {
namespace {

TEST(RecordingFormat, OnlyRatesAndDepthsADeviceRecordsAreAskedFor) {
    // 4294967 kHz is the last rate whose samples a second still fit 32 bits.
    for (int32_t kiloHertz : {INT_MIN, -1, 0, 385, 4294967, INT_MAX}) EXPECT_FALSE(recordingFormatFor(kiloHertz, 16));
    for (int32_t bits : {INT_MIN, 0, 33, INT_MAX}) EXPECT_FALSE(recordingFormatFor(16, bits));

    EXPECT_TRUE(recordingFormatFor(1, 1)) << "the lowest rate and depth";
    const auto highest = recordingFormatFor(384, 32);
    ASSERT_TRUE(highest);
    EXPECT_EQ(highest->samplesPerSecond, 384000u);
    EXPECT_EQ(highest->bytesPerSecond, 1536000u);
}

}  // namespace
}  // namespace zembrit
