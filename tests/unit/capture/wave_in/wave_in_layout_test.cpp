// How wave-in is asked to record, and the X-Y figure left for the paint.
#include <gtest/gtest.h>

#include <vector>

#include "capture/wave_in/wave_in_layout.h"
#include "capture/signal/xy_figure.h"

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

TEST(XyFigure, HoldsEveryPairOfTheWindowFromItsStartWithItsGain) {
    std::vector<uint8_t> bytes;  // 80 frames, left i * 100 and right -i * 100 - 1
    for (int i = 0; i < 80; ++i)
        for (int level : {i * 100, -i * 100 - 1}) bytes.insert(bytes.end(), {uint8_t(level), uint8_t(level >> 8)});
    SignalState state;
    const SignalSource source{bytes.data(), uint32_t(bytes.size()), {SampleFormat::signed16, 2}, 0.01f};
    SampleSpan window = selectSpan(source, 10, SignalOptions{false, false, ChannelMode::xy}, state);
    window.start = 70;
    window.gain = 2.5f;
    XyFigure figure;
    storeXyFigure(window, figure);
    ASSERT_EQ(figure.count, 10) << "the window ends with the buffer";
    EXPECT_EQ(leftLevel(figure.pairs[0]), 7000);
    EXPECT_EQ(rightLevel(figure.pairs[9]), -7901);
    EXPECT_EQ(figure.gain, 2.5f);
}

}  // namespace
}  // namespace zembrit
