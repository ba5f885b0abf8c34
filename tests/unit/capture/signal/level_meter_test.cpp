#include "capture/signal/level_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/support/float_frames.h"

namespace zembrit {
namespace {

constexpr uint32_t kRate = 48000;

double db(const Relaxed<int32_t>& height) { return LevelMeter::kFloorDb * (1.0 - height / double(kFullHeight)); }

// Little-endian frames of `bytes` bytes per sample; level(f, c) is the
// sample's integer value.
template <class Level>
std::vector<uint8_t> intFrames(uint32_t frames, int channels, int bytes, Level level) {
    std::vector<uint8_t> out;
    for (uint32_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            for (int b = 0; b < bytes; ++b) out.push_back(uint8_t(uint32_t(level(f, c)) >> (8 * b)));
    return out;
}

void take(LevelMeter& meter, const std::vector<uint8_t>& bytes, const SourceLayout& layout) {
    meter.take(bytes.data(), uint32_t(bytes.size()), layout, kRate);
}

TEST(LevelMeter, ReadsASinesPeakAndRmsAndASquaresAlikeOverTheLast300Ms) {
    LevelMeter meter;
    LevelPicture picture;
    const auto sine = intFrames(kRate * 4 / 10, 1, 2, [](uint32_t f, int) {
        return std::lround(32767 * zembrit_test::sineAt(1000, kRate, f));
    });
    take(meter, sine, {SampleFormat::signed16, 1});
    meter.show(0, picture);
    EXPECT_EQ(picture.channels, 1);
    EXPECT_NEAR(db(picture.channel[0].peak), 0.0, 0.1);
    EXPECT_NEAR(db(picture.channel[0].rms), -3.01, 0.1);

    // 24-bit stereo: a -20 dBFS square on the left, -40 dBFS on the right.
    const auto square = intFrames(
        kRate / 10, 2, 3, [](uint32_t f, int c) { return ((f / 24) % 2 ? -1 : 1) * (c == 0 ? 838861 : 83886); });
    for (int i = 0; i < 3; ++i) take(meter, square, {SampleFormat::signed24, 2});
    meter.show(2000, picture);
    EXPECT_EQ(picture.channels, 2);
    EXPECT_NEAR(db(picture.channel[0].peak), -20.0, 0.1);
    EXPECT_NEAR(db(picture.channel[0].rms), -20.0, 0.1);
    EXPECT_NEAR(db(picture.channel[1].rms), -40.0, 0.1);

    // 200 ms of silence: a third of the window still holds the square.
    take(meter, std::vector<uint8_t>(kRate / 5 * 6), {SampleFormat::signed24, 2});
    meter.show(2200, picture);
    EXPECT_NEAR(db(picture.channel[0].rms), -20.0 + 10 * std::log10(1 / 3.0), 0.1);
    take(meter, std::vector<uint8_t>(kRate / 10 * 6), {SampleFormat::signed24, 2});
    meter.show(2300, picture);
    EXPECT_EQ(picture.channel[0].rms, 0);
}

// The peak falls 20 dB in 1.7 s; its mark waits 1.5 s, then falls 20 dB/s.
TEST(LevelMeter, PeakFallsByTheClockAndItsMarkIsHeldFirst) {
    LevelMeter meter;
    LevelPicture picture;
    const uint32_t start = 0xFFFFFC00u;  // across the tick counter's wrap
    const auto click = zembrit_test::floatFrames(480, 1, [](uint32_t f, int) { return f == 7 ? 0.5 : 0.0; });
    meter.take(click.data(), uint32_t(click.size()), {SampleFormat::float32, 1}, kRate);
    for (uint32_t ms = 0; ms <= 2500; ms += 100) {
        meter.show(start + ms, picture);
        const double peak = -6.02 - 20.0 * ms / 1700.0;
        EXPECT_NEAR(db(picture.channel[0].peak), peak, 0.1) << ms;
        EXPECT_NEAR(db(picture.channel[0].hold), std::max(peak, ms <= 1500 ? -6.02 : -6.02 - (ms - 1500) / 50.0), 0.1)
            << ms;
    }
}

TEST(LevelMeter, AFullScaleSampleLightsTheClipMarkForTwoSeconds) {
    struct Case {
        SampleFormat format;
        std::vector<uint8_t> below, full;
    };
    const std::vector<Case> cases{
        {SampleFormat::unsigned8, {1, 254}, {0}},
        {SampleFormat::signed16, {0x01, 0x80, 0xFE, 0x7F}, {0xFF, 0x7F}},
        {SampleFormat::signed32, {0xFE, 0xFF, 0xFF, 0x7F}, {0xFF, 0xFF, 0xFF, 0x7F}},
        {SampleFormat::float32, zembrit_test::floatFrames(1, 1, [](uint32_t, int) { return -0.9999; }),
         zembrit_test::floatFrames(1, 1, [](uint32_t, int) { return -1.0; })},
    };
    for (const Case& test : cases) {
        LevelMeter meter;
        LevelPicture picture;
        take(meter, test.below, {test.format, 1});
        meter.show(100, picture);
        EXPECT_EQ(picture.channel[0].clipped, 0) << int(test.format);
        take(meter, test.full, {test.format, 1});
        meter.show(200, picture);
        EXPECT_EQ(picture.channel[0].clipped, 1) << int(test.format);
        meter.show(2199, picture);
        EXPECT_EQ(picture.channel[0].clipped, 1) << int(test.format);
        meter.show(2200, picture);
        EXPECT_EQ(picture.channel[0].clipped, 0) << int(test.format);
    }
}

}  // namespace
}  // namespace zembrit
