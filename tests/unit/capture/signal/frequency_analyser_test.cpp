#include "capture/signal/frequency_analyser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>

#include "capture/signal/band_layout.h"
#include "tests/support/float_frames.h"

namespace zembrit {
namespace {

using zembrit_test::floatFrames;
using zembrit_test::sineAt;

// A source playing into an analyser in 10 ms buffers of float frames.
struct Player {
    explicit Player(uint32_t framesPerSecond, int channelCount = 1) : rate(framesPerSecond), channels(channelCount) {}
    uint32_t rate;
    int channels;
    SpectrumRequest request{64, -80, 0, false};
    SpectrumAnalyser analyser;
    SpectrumPicture picture;
    uint64_t frame = 0;
    uint32_t nowMs = 0xFFFFFF00u;  // the tick counter wraps during each run

    // level(frame, channel) for ms, analysed once every frameMs.
    template <class Level>
    void play(uint32_t ms, uint32_t frameMs, Level level) {
        for (uint32_t t = 10; t <= ms; t += 10) {
            const uint64_t start = frame;
            const auto bytes =
                floatFrames(rate / 100, channels, [&](uint32_t f, int c) { return level(start + f, c); });
            analyser.take(bytes.data(), static_cast<uint32_t>(bytes.size()), {SampleFormat::float32, channels}, rate);
            frame += rate / 100;
            nowMs += 10;
            if (t % frameMs == 0) analyser.analyse(nowMs, request, picture);
        }
    }
    void tone(uint32_t ms, double hz, double amplitude = 1.0) {
        play(ms, 10, [&](uint64_t f, int) { return amplitude * sineAt(hz, rate, f); });
    }
    double db(const Relaxed<int32_t>& height) const { return request.floorDb * (1.0 - height / double(kFullHeight)); }
    // The band whose bins hold hz's.
    size_t band(double hz) const {
        std::array<BandBins, kMaxBands> bands{};
        layBands({SpectrumAnalyser::kTransformSize, rate}, std::span(bands.data(), size_t(picture.count)));
        const auto bin = static_cast<uint32_t>(std::lround(hz * SpectrumAnalyser::kTransformSize / rate));
        for (size_t i = 0; i < bands.size(); ++i) {
            if (bands[i].first <= bin && bin <= bands[i].last) return i;
        }
        return bands.size();
    }
};

// Full scale reads 0 dBFS (shown at the top) and -20 dBFS reads -20, also
// for a tone midway between two bins, where the window reads lowest.
TEST(SpectrumAnalyser, AToneLightsItsBandHighestAtItsLevel) {
    for (const uint32_t rate : {16000u, 44100u, 48000u}) {
        for (const double hz : {1000.0, 1000.45 * rate / SpectrumAnalyser::kTransformSize}) {
            for (const double amplitude : {1.0, 0.1}) {
                Player player{rate};
                player.tone(200, hz, amplitude);
                SCOPED_TRACE(testing::Message() << rate << " Hz, tone " << hz << ", amplitude " << amplitude);
                ASSERT_EQ(player.picture.count, 64);
                const auto& bars = player.picture.left.bars;
                EXPECT_EQ(std::max_element(bars.begin(), bars.begin() + 64) - bars.begin(), player.band(hz));
                EXPECT_NEAR(player.db(player.picture.left.bars[player.band(hz)]), amplitude == 1.0 ? -0.5 : -20.0,
                            amplitude == 1.0 ? 0.5 : 1.0);
            }
        }
    }
}

// Each channel its own bars: two tones on the left stand far above the
// bands halfway between them, a third tone on the right.
TEST(SpectrumAnalyser, StereoShowsEachChannelsTones) {
    Player player{44100, 2};
    player.request = {1000, -80, 0, true};  // held to the most bands
    player.play(200, 10, [](uint64_t f, int c) {
        return c == 1 ? sineAt(1000, 44100, f) : 0.5 * (sineAt(100, 44100, f) + sineAt(5000, 44100, f));
    });
    ASSERT_EQ(player.picture.count, kMaxBands);
    const auto &left = player.picture.left.bars, &right = player.picture.right.bars;
    for (const double hz : {100.0, 5000.0}) EXPECT_NEAR(player.db(left[player.band(hz)]), -6.0, 1.0) << hz;
    const size_t between = player.band(std::sqrt(100.0 * 5000.0));
    for (size_t i = between - 2; i <= between + 2; ++i) EXPECT_LT(player.db(left[i]), -36.0) << i;
    EXPECT_GT(player.db(right[player.band(1000)]), -1.0);
    EXPECT_LT(player.db(right[player.band(5000)]), -60.0);
}

// Noise fills every band, the low ones narrower than a bin included, and a
// band only rarely matches its neighbour's height, by chance.
TEST(SpectrumAnalyser, NoiseFillsEveryBandAndNoBandRepeatsItsNeighbour) {
    Player player{48000};
    player.request.bands = 256;
    uint32_t seed = 1;
    player.play(200, 200, [&](uint64_t, int) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1 << 23) - 1.0;
    });
    ASSERT_EQ(player.picture.count, 256);
    const auto& bars = player.picture.left.bars;
    int repeats = 0;  // a band copying its neighbour's bin would make a hundred
    for (size_t i = 0; i < 256; ++i) {
        EXPECT_GT(bars[i], 0) << i;
        if (i > 0 && bars[i] == bars[i - 1]) ++repeats;
    }
    EXPECT_LE(repeats, 2);
}

// One second after a tone, drawn at 100 or at 25 fps alike, a bar has
// fallen 40 dB and its peak mark, held 500 ms, 10 dB. No hold, no marks.
TEST(SpectrumAnalyser, BarsAndPeakMarksFallByTheClockNotByTheFrame) {
    std::array<double, 2> fallen{};
    for (const uint32_t frameMs : {10u, 40u}) {
        Player player{44100};
        player.request.peakHoldMs = 500;
        player.tone(400, 1000);
        player.play(1000, frameMs, [](uint64_t, int) { return 0.0; });
        const size_t band = player.band(1000);
        fallen[frameMs / 40] = player.db(player.picture.left.bars[band]);
        EXPECT_NEAR(player.db(player.picture.left.peaks[band]), -10.0, 1.0) << frameMs;

        player.request.peakHoldMs = 0;
        player.tone(frameMs, 1000);
        EXPECT_EQ(player.picture.left.peaks[band], 0);
    }
    EXPECT_NEAR(fallen[0], fallen[1], 1.0);
    EXPECT_NEAR(fallen[0], -40.0, 3.0);
}

}  // namespace
}  // namespace zembrit
