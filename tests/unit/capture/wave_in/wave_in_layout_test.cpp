#include "capture/wave_in/wave_in_layout.h"

#include <gtest/gtest.h>

#include <utility>

namespace zembrit {
namespace {

TEST(WaveInLayout, EveryOptionOffKeepsTheMonoBufferAndItsReading) {
    for (int bits : {4, 8, 12, 16, 24, 32}) {
        const SourceLayout layout = waveInLayout(bits, SignalOptions{});
        EXPECT_EQ(layout.channels, 1);
        EXPECT_EQ(layout.format, bits <= 8 ? SampleFormat::unsigned8 : SampleFormat::signed16) << bits;
        for (int points : {10, 32, 100}) EXPECT_EQ(waveInBufferBytes(points, layout, false), points * 16u) << bits;
    }
    EXPECT_EQ(waveInBufferBytes(32, waveInLayout(24, SignalOptions{false, true}), false), 32u * 8 * 3);
}

TEST(WaveInLayout, ChannelsShownApartAskForTwoChannels) {
    for (bool trigger : {false, true})
        for (auto [mode, channels] : {std::pair{ChannelMode::mono, 1}, {ChannelMode::stereo, 2}, {ChannelMode::xy, 2}})
            EXPECT_EQ(waveInLayout(16, {trigger, false, mode}).channels, channels)
                << "mode " << int(mode) << (trigger ? ", triggered" : "");
}

}  // namespace
}  // namespace zembrit
