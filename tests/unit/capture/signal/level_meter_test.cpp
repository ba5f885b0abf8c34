#include "capture/signal/level_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/support/float_frames.h"

namespace zembrit {
namespace {

using zembrit_test::floatFrames;

constexpr uint32_t kRate = 48000;

double db(const Relaxed<int32_t>& height) { return LevelMeter::kFloorDb * (1.0 - height / double(kFullHeight)); }

void take(LevelMeter& meter, const std::vector<uint8_t>& bytes, SampleFormat format, int channels = 1) {
    meter.take(bytes.data(), uint32_t(bytes.size()), {format, channels}, kRate);
}

// A full-scale sine, then 300 ms of a -20 dBFS square on the left and a
// -40 dBFS one on the right, then 200 ms of silence: a third of the window.
TEST(LevelMeter, ReadsPeakAndRmsOverTheLast300Ms) {
    LevelMeter meter;
    LevelPicture picture;
    take(meter, floatFrames(kRate / 2, 1, [](uint32_t f, int) { return zembrit_test::sineAt(1000, kRate, f); }),
         SampleFormat::float32);
    meter.show(0, picture);
    EXPECT_EQ(picture.channels, 1);
    EXPECT_NEAR(db(picture.channel[0].peak), 0.0, 0.1);
    EXPECT_NEAR(db(picture.channel[0].rms), -3.01, 0.1);

    const auto square = [](uint32_t f, int c) { return ((f / 24) % 2 ? -0.1 : 0.1) * (c == 0 ? 1 : 0.1); };
    take(meter, floatFrames(kRate * 3 / 10, 2, square), SampleFormat::float32, 2);
    meter.show(2000, picture);
    EXPECT_EQ(picture.channels, 2);
    EXPECT_NEAR(db(picture.channel[0].peak), -20.0, 0.1);
    EXPECT_NEAR(db(picture.channel[0].rms), -20.0, 0.1);
    EXPECT_NEAR(db(picture.channel[1].rms), -40.0, 0.1);

    meter.takeSilence(kRate / 5, 2, kRate);
    meter.show(2200, picture);
    EXPECT_NEAR(db(picture.channel[0].rms), -20.0 + 10 * std::log10(1 / 3.0), 0.1);
}

// The peak falls 20 dB in 1.7 s; its mark waits 1.5 s, then falls 20 dB/s.
TEST(LevelMeter, PeakFallsByTheClockAndItsMarkIsHeldFirst) {
    LevelMeter meter;
    LevelPicture picture;
    take(meter, floatFrames(480, 1, [](uint32_t f, int) { return f == 7 ? 0.5 : 0.0; }), SampleFormat::float32);
    const uint32_t start = 0xFFFFFC00u;  // across the tick counter's wrap
    for (uint32_t ms = 0; ms <= 2500; ms += 100) {
        meter.show(start + ms, picture);
        const double peak = -6.02 - 20.0 * ms / 1700.0, held = ms <= 1500 ? -6.02 : -6.02 - (ms - 1500) / 50.0;
        EXPECT_NEAR(db(picture.channel[0].peak), peak, 0.1) << ms;
        EXPECT_NEAR(db(picture.channel[0].hold), std::max(peak, held), 0.1) << ms;
    }
}

// Both ends of the scale, across the formats, light the mark for 2 s.
TEST(LevelMeter, AFullScaleSampleLightsTheClipMarkForTwoSeconds) {
    const auto floats = [](double level) { return floatFrames(1, 1, [=](uint32_t, int) { return level; }); };
    const struct {
        SampleFormat format;
        std::vector<uint8_t> below, full;
    } cases[] = {{SampleFormat::unsigned8, {1, 254}, {0}},
                 {SampleFormat::signed16, {0x01, 0x80, 0xFE, 0x7F}, {0xFF, 0x7F}},
                 {SampleFormat::signed24, {0x01, 0x00, 0x80, 0xFE, 0xFF, 0x7F}, {0x00, 0x00, 0x80}},
                 {SampleFormat::signed32, {0xFE, 0xFF, 0xFF, 0x7F}, {0x00, 0x00, 0x00, 0x80}},
                 {SampleFormat::float32, floats(-0.9999), floats(-1.0)}};
    for (const auto& test : cases) {
        LevelMeter meter;
        LevelPicture picture;
        take(meter, test.below, test.format);
        meter.show(100, picture);
        EXPECT_EQ(picture.channel[0].clipped, 0) << int(test.format);
        take(meter, test.full, test.format);
        for (const uint32_t ms : {200u, 2199u, 2200u}) {
            meter.show(ms, picture);
            EXPECT_EQ(picture.channel[0].clipped, ms < 2200 ? 1 : 0) << int(test.format) << " at " << ms;
        }
    }
}

}  // namespace
}  // namespace zembrit
