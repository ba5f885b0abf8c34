#include "capture/reduce.h"
#include "capture/signal_window.h"
#include "scope/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace zembrit {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = 16000.0;
constexpr int kPoints = 32;
constexpr uint32_t kWindow = kPoints * 8;  // 16-bit samples in one trace window

struct Tone {
    double hertz, amplitude, phase, noise;
};

// A 16-bit mono buffer of count samples of the tone, noise drawn from rng.
std::vector<uint8_t> tone16(const Tone& t, uint32_t count, std::mt19937& rng) {
    std::normal_distribution<double> noise(0.0, t.noise > 0 ? t.noise : 1e-9);
    std::vector<uint8_t> bytes(2 * count);
    for (uint32_t i = 0; i < count; ++i) {
        const double v = t.amplitude * std::sin(t.phase + 2 * kPi * t.hertz * i / kRate) + noise(rng);
        const auto level = static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0))));
        bytes[2 * i] = static_cast<uint8_t>(level & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(level >> 8);
    }
    return bytes;
}

SignalSource mono16(const std::vector<uint8_t>& bytes) {
    return {bytes.data(), static_cast<uint32_t>(bytes.size()), {SampleFormat::signed16, 1},
            static_cast<float>(bytes.size() / 2 / kRate)};
}

// Pixels between two samples along a horizontal trace of kPoints points.
double pixelsPerSample(int32_t width) {
    std::vector<int32_t> values(kPoints, 0);
    std::vector<Point> points(kPoints);
    tracePoints({0, 0, width, 0}, width, 0, 1, true, values.data(), kPoints, points.data());
    return double(points.back().x - points.front().x) / ((kPoints - 1) * 8);
}

TEST(SignalTrigger, NoisySineStartsOnItsRisingHalfWithinAPixel) {
    std::mt19937 rng(20240614);
    std::uniform_real_distribution<double> phase(0.0, 2 * kPi);
    SignalState state;
    const SignalOptions triggered{true, false, ChannelMode::mono};
    const auto next = [&] { return tone16({441.7, 16384, phase(rng), 0.05 * 32768}, 2 * kWindow, rng); };
    selectWindow(mono16(next()), kPoints, triggered, state);  // learns the level
    std::vector<double> lateBy;  // samples from the tone's rising crossing to the trace's start
    int fallingHalf = 0;
    for (int buffer = 0; buffer < 2000; ++buffer) {
        const double phase0 = phase(rng);
        const auto bytes = tone16({441.7, 16384, phase0, 0.05 * 32768}, 2 * kWindow, rng);
        const uint32_t start = selectWindow(mono16(bytes), kPoints, triggered, state).start;
        const double at = std::remainder(phase0 + 2 * kPi * 441.7 * start / kRate, 2 * kPi);
        if (std::cos(at) <= 0) ++fallingHalf;
        lateBy.push_back(at / (2 * kPi * 441.7 / kRate));
    }
    EXPECT_EQ(fallingHalf, 0);
    double mean = 0, square = 0;
    for (double d : lateBy) mean += d / lateBy.size();
    for (double d : lateBy) square += (d - mean) * (d - mean) / lateBy.size();
    const double spread = std::sqrt(square);
    EXPECT_LE(spread * pixelsPerSample(400), 1.0) << "samples " << spread;
    EXPECT_LE(spread * pixelsPerSample(100), 1.0);
    EXPECT_LT(spread / 8, 0.25) << "points";
}

TEST(SignalTrigger, SilenceAndSteadyLevelsRunFree) {
    for (int16_t level : {0, 300, -300, 20000, -20000}) {
        const std::vector<int16_t> samples(2 * kWindow, level);
        std::vector<uint8_t> bytes(2 * samples.size());
        std::memcpy(bytes.data(), samples.data(), bytes.size());
        SignalState state;
        for (int buffer = 0; buffer < 3; ++buffer)
            EXPECT_EQ(selectWindow(mono16(bytes), kPoints, {true, false, ChannelMode::mono}, state).start, 0u) << level;
    }
}

// Largest distance from the centre line, as a share of the half-height.
double fill(const TraceRow& row, int32_t dimension) {
    int32_t peak = 0;
    for (int i = 0; i < kPoints; ++i) peak = std::max(peak, std::abs(row[i].load()));
    return peak / (dimension / 2.0);
}

TEST(SignalAutoGain, QuietFillsLoudStaysInsideSilenceIsBounded) {
    std::mt19937 rng(7);
    SignalState state;
    const SignalOptions options{true, true, ChannelMode::mono};
    TraceRow small{}, large{};  // 100 x 25 and 400 x 100, horizontal
    const auto run = [&](double amplitude, double seconds, auto&& check) {
        for (double t = 0; t < seconds; t += 2 * kWindow / kRate) {
            const auto bytes = tone16({100, amplitude, 2 * kPi * 100 * t, 0}, 2 * kWindow, rng);
            const SignalWindow shown = selectWindow(mono16(bytes), kPoints, options, state);
            reduceWindowInto(shown, shown.left, kPoints, 25, small);
            reduceWindowInto(shown, shown.left, kPoints, 100, large);
            check(shown.gain);
        }
    };
    run(32768 / 16, 1.0, [](float) {});
    EXPECT_NEAR(fill(small, 25), 0.8, 0.1);
    EXPECT_NEAR(fill(large, 100), 0.8, 0.1);

    float loudGain = 0;
    run(32767, 1.0, [&](float gain) {
        loudGain = gain;
        EXPECT_LE(fill(small, 25), 1.0);
        EXPECT_LE(fill(large, 100), 1.0);
    });
    std::vector<float> silentGains;
    run(0, 20.0, [&](float gain) { silentGains.push_back(gain); });
    const size_t twoSeconds = static_cast<size_t>(2.0 / (2 * kWindow / kRate)) - 1;
    EXPECT_NEAR(silentGains[twoSeconds] / loudGain, 2.0, 0.1) << "the gain doubles in 2 s of silence";
    EXPECT_LE(*std::max_element(silentGains.begin(), silentGains.end()), 16.0f);
    EXPECT_EQ(silentGains.back(), 16.0f);
}

TEST(SignalChannels, EveryFormatSplitsIntoSixteenBitChannels) {
    const int32_t left[] = {1000, -20000, 32767, -32768}, right[] = {-5, 7000, 0, 12345};
    auto encode = [](SampleFormat format, int32_t level, std::vector<uint8_t>& out) {
        const float asFloat = level / 32768.0f;
        const uint32_t bits = format == SampleFormat::float32 ? std::bit_cast<uint32_t>(asFloat)
                              : format == SampleFormat::unsigned8 ? uint32_t((level >> 8) + 128)
                                                                  : uint32_t(level) << 16 | 0xABCDu;
        const int width = format == SampleFormat::unsigned8 ? 1 : format == SampleFormat::signed16 ? 2
                        : format == SampleFormat::signed24 ? 3 : 4;
        const int skip = format == SampleFormat::float32 || format == SampleFormat::unsigned8 ? 0 : 4 - width;
        for (int b = 0; b < width; ++b) out.push_back(uint8_t(bits >> (8 * (b + skip))));
    };
    for (SampleFormat format : {SampleFormat::unsigned8, SampleFormat::signed16, SampleFormat::signed24,
                                SampleFormat::signed32, SampleFormat::float32}) {
        std::vector<uint8_t> bytes;
        for (int f = 0; f < 4; ++f)
            for (int32_t level : {left[f], right[f], int32_t{-1}}) encode(format, level, bytes);
        SignalState state;
        const SignalWindow shown = selectWindow({bytes.data(), uint32_t(bytes.size()), {format, 3}, 0.0f}, kPoints,
                                                {false, false, ChannelMode::stereo}, state);
        const bool eightBit = format == SampleFormat::unsigned8;
        ASSERT_EQ(sampleCount(shown.left), 4u);
        ASSERT_EQ(sampleCount(shown.right), 4u);
        for (uint32_t f = 0; f < 4; ++f) {
            EXPECT_EQ(levelAt(shown.left, f), eightBit ? (left[f] >> 8) * 256 : left[f]) << int(format) << " " << f;
            EXPECT_EQ(levelAt(shown.right, f), eightBit ? (right[f] >> 8) * 256 : right[f]) << int(format) << " " << f;
        }
    }
    const std::vector<uint8_t> one{1, 2, 3, 4};
    SignalState state;
    const SignalWindow shown = selectWindow(mono16(one), kPoints, {false, false, ChannelMode::xy}, state);
    EXPECT_EQ(shown.right.bytes, shown.left.bytes) << "a one-channel source shows the same signal on both";
}

TEST(SignalWindowReduction, DefaultsReduceAsBeforeAndTheTriggerFromItsCrossing) {
    std::mt19937 rng(99);
    std::vector<uint8_t> bytes(2 * kMaxPoints * kBytesPerPoint);
    for (uint8_t& b : bytes) b = uint8_t(rng());
    for (int bits : {8, 16}) {
        for (int points : {10, 32, 100}) {
            for (uint32_t count : {0u, 100u, 161u, 512u, 1600u, 3200u}) {
                const SignalSource source{bytes.data(), count, {pcmFormat(bits), 1}, 0.016f};
                SignalState state;
                TraceRow before{}, now{};
                for (int buffer = 0; buffer < 2; ++buffer) {
                    reduceInto({bytes.data(), count, points, bits, 25}, before);
                    const SignalWindow shown = selectWindow(source, points, {}, state);
                    reduceWindowInto(shown, shown.left, points, 25, now);
                }
                for (int i = 0; i < kTraceCapacity; ++i)
                    ASSERT_EQ(now[i].load(), before[i].load()) << bits << " bits " << points << " points " << count;
            }
        }
    }
    const auto tone = tone16({441.7, 16384, 0.3, 0}, 2 * kWindow, rng);
    SignalState state;
    const SignalWindow shown = selectWindow(mono16(tone), kPoints, {true, false, ChannelMode::mono}, state);
    ASSERT_GT(shown.start, 0u);
    TraceRow fromCrossing{}, now{};
    reduceInto({tone.data() + 2 * shown.start, kWindow * 2, kPoints, 16, 25}, fromCrossing);
    reduceWindowInto(shown, shown.left, kPoints, 25, now);
    for (int i = 0; i < kPoints; ++i) EXPECT_EQ(now[i].load(), fromCrossing[i].load()) << i;
}

}  // namespace
}  // namespace zembrit
