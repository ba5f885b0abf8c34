// How wave-in is asked to record for the signal options, and the X-Y
// figure the capture leaves for the paint.
#include <gtest/gtest.h>

#include <vector>

#include "capture/wave_in_layout.h"
#include "capture/xy_figure.h"

namespace zembrit {
namespace {

TEST(WaveInLayout, EveryOptionOffKeepsTheMonoBufferAndItsReading) {
    for (int bits : {4, 8, 12, 16, 24, 32})
        for (int points : {10, 32, 100}) {
            const SourceLayout layout = waveInLayout(bits, SignalOptions{});
            EXPECT_EQ(layout.channels, 1);
            EXPECT_EQ(layout.format, bits <= 8 ? SampleFormat::unsigned8 : SampleFormat::signed16) << bits;
            EXPECT_EQ(waveInBufferBytes(points, layout, false), static_cast<uint32_t>(points * 16)) << bits;
        }
}

TEST(WaveInLayout, TriggerDoublesTheWindowAndTwoChannelsDoubleTheFrame) {
    const SourceLayout stereo16 = waveInLayout(16, SignalOptions{true, false, ChannelMode::stereo});
    EXPECT_EQ(stereo16.channels, 2);
    EXPECT_EQ(waveInBufferBytes(32, stereo16, true), 32u * 8 * 2 * 4);
    const SourceLayout gain24 = waveInLayout(24, SignalOptions{false, true, ChannelMode::mono});
    EXPECT_EQ(gain24.format, SampleFormat::signed24);
    EXPECT_EQ(waveInBufferBytes(32, gain24, false), 32u * 8 * 3);
    const SourceLayout xy8 = waveInLayout(8, SignalOptions{false, false, ChannelMode::xy});
    EXPECT_EQ(xy8.format, SampleFormat::unsigned8);
    EXPECT_EQ(waveInBufferBytes(10, xy8, false), 10u * 16 * 2);
}

std::vector<uint8_t> stereoRamp(int frames) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < frames; ++i)
        for (int level : {i * 100, -i * 100 - 1}) {
            bytes.push_back(static_cast<uint8_t>(level & 0xFF));
            bytes.push_back(static_cast<uint8_t>((level >> 8) & 0xFF));
        }
    return bytes;
}

TEST(XyFigure, HoldsEveryPairOfTheWindowFromItsStartWithItsGain) {
    const std::vector<uint8_t> bytes = stereoRamp(80);
    SignalState state;
    const SignalOptions xy{false, false, ChannelMode::xy};
    const SignalSource source{bytes.data(), static_cast<uint32_t>(bytes.size()), {SampleFormat::signed16, 2}, 0.01f};
    SignalWindow window = selectWindow(source, 10, xy, state);
    XyFigure figure;
    storeXyFigure(window, figure);
    ASSERT_EQ(figure.count, 80);
    EXPECT_EQ(leftLevel(figure.pairs[79]), 7900);
    EXPECT_EQ(rightLevel(figure.pairs[79]), -7901);

    window.start = 70;
    window.gain = 2.5f;
    storeXyFigure(window, figure);
    ASSERT_EQ(figure.count, 10) << "the window ends with the buffer";
    EXPECT_EQ(leftLevel(figure.pairs[0]), 7000);
    EXPECT_EQ(rightLevel(figure.pairs[0]), -7001);
    EXPECT_EQ(figure.gain, 2.5f);
    EXPECT_EQ(leftLevel(packLevels(-32768, 32767)), -32768);
    EXPECT_EQ(rightLevel(packLevels(-32768, 32767)), 32767);
}

}  // namespace
}  // namespace zembrit
