#include "capture/signal/signal_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "capture/signal/reduce.h"

namespace zembrit {
namespace {

constexpr double kPi = 3.14159265358979323846, kRate = 16000.0;
constexpr int kPoints = 32;
constexpr uint32_t kSpan = kPoints * 8;        // 16-bit samples in one trace span
constexpr float kSeconds = 2 * kSpan / kRate;  // a triggered buffer holds two spans

void putLevel(double v, uint8_t* bytes) {
    const auto level = uint16_t(int16_t(std::lround(std::clamp(v, -32768.0, 32767.0))));
    bytes[0] = uint8_t(level & 0xFF), bytes[1] = uint8_t(level >> 8);
}

// 16-bit little-endian bytes of the levels.
std::vector<uint8_t> bytesOf(const std::vector<double>& levels) {
    std::vector<uint8_t> bytes(2 * levels.size());
    for (size_t i = 0; i < levels.size(); ++i) putLevel(levels[i], &bytes[2 * i]);
    return bytes;
}

// Two spans of a sine; noiseLevel > 0 adds Gaussian noise drawn from rng.
// The sine turns by a fixed rotation per sample: the 32-bit tree runs under
// an emulator, where a sine per sample is slow.
std::vector<uint8_t> tone(double hertz, double amplitude, double phase, double noiseLevel, std::mt19937& rng) {
    std::normal_distribution<double> noise(0.0, noiseLevel > 0 ? noiseLevel : 1.0);
    const double turnCos = std::cos(2 * kPi * hertz / kRate), turnSin = std::sin(2 * kPi * hertz / kRate);
    double c = std::cos(phase), s = std::sin(phase);
    std::vector<uint8_t> bytes(4 * kSpan);
    for (uint32_t i = 0; i < 2 * kSpan; ++i) {
        putLevel(amplitude * s + (noiseLevel > 0 ? noise(rng) : 0), &bytes[2 * i]);
        const double next = c * turnCos - s * turnSin;
        s = s * turnCos + c * turnSin, c = next;
    }
    return bytes;
}

SampleBuffer mono16(const std::vector<uint8_t>& bytes) {
    return {bytes.data(), static_cast<uint32_t>(bytes.size()), {SampleFormat::signed16, 1}, kSeconds};
}

TEST(SignalTrigger, NoisySineStartsOnItsRisingHalfWithinAPixel) {
    // 20,000 buffers, not 2,000: without the hysteresis about one in 1,200
    // starts on the falling half, too rare for 2,000 to show reliably.
    std::mt19937 rng(20240614);
    std::uniform_real_distribution<double> anyPhase(0.0, 2 * kPi);
    SignalState state;
    const SignalOptions triggered{true, false, ChannelMode::mono};
    selectSpan(mono16(tone(441.7, 16384, 0, 0.05 * 32768, rng)), kPoints, triggered, state);  // learns the level
    double sum = 0, sumOfSquares = 0;  // of the samples from the tone's rising crossing to the trace's start
    int fallingHalf = 0;
    for (int buffer = 0; buffer < 20000; ++buffer) {
        const double phase = anyPhase(rng);
        const auto bytes = tone(441.7, 16384, phase, 0.05 * 32768, rng);
        const uint32_t start = selectSpan(mono16(bytes), kPoints, triggered, state).start;
        const double at = std::remainder(phase + 2 * kPi * 441.7 * start / kRate, 2 * kPi);
        if (std::cos(at) <= 0) ++fallingHalf;
        const double lateBy = at / (2 * kPi * 441.7 / kRate);
        sum += lateBy, sumOfSquares += lateBy * lateBy;
    }
    EXPECT_EQ(fallingHalf, 0);
    const double spread = std::sqrt(sumOfSquares / 20000 - (sum / 20000) * (sum / 20000));
    const double pixelsPerSample = (400 - 2) / double(kPoints - 1) / 8;  // 400 wide, margin 1
    EXPECT_LE(spread * pixelsPerSample, 1.0) << "samples " << spread << ", points " << spread / 8;
}

TEST(SignalTrigger, SilenceSteadyLevelsHissAndLateCrossingsRunFree) {
    std::mt19937 rng(3);
    std::vector<std::vector<uint8_t>> buffers{tone(0, 0, 0, 100, rng)};  // hiss 50 dB below full scale
    for (double level : {0, 300, -300, 20000, -20000})
        buffers.push_back(bytesOf(std::vector<double>(2 * kSpan, level)));
    std::vector<double> late(3 * kSpan, -20000);  // rises only after the first span
    std::fill(late.begin() + kSpan + 10, late.end(), 20000);
    buffers.push_back(bytesOf(late));
    for (const auto& bytes : buffers) {
        SignalState state;
        for (int buffer = 0; buffer < 3; ++buffer)
            EXPECT_EQ(selectSpan(mono16(bytes), kPoints, {true, false, ChannelMode::mono}, state).start, 0u);
    }
}

// The largest distance from the centre line, as a share of the half-height.
double fill(const TraceRow& row, int32_t dimension) {
    int32_t peak = 0;
    for (int i = 0; i < kPoints; ++i) peak = std::max(peak, std::abs(row[i].load()));
    return peak / (dimension / 2.0);
}

TEST(SignalAutoGain, QuietFillsLoudStaysInsideSilenceIsBounded) {
    std::mt19937 rng(7);
    SignalState state;
    TraceRow row{};  // 100 x 25, horizontal
    std::vector<float> gains;
    const auto run = [&](double amplitude, double seconds, auto&& afterEachBuffer) {
        gains.clear();
        for (double t = 0; t < seconds; t += kSeconds) {
            const auto bytes = tone(100, amplitude, 2 * kPi * 100 * t, 0, rng);
            const SampleSpan shown = selectSpan(mono16(bytes), kPoints, {true, true, ChannelMode::mono}, state);
            reduceSpanInto(shown, shown.left, kPoints, 25, row);
            gains.push_back(shown.gain);
            afterEachBuffer();
        }
    };
    run(32768 / 16, 1.0, [] {});
    EXPECT_NEAR(fill(row, 25), 0.8, 0.1);
    run(32767, 1.0, [&] { EXPECT_LE(fill(row, 25), 1.0); });
    const float loudGain = gains.back();
    run(0, 20.0, [] {});
    EXPECT_NEAR(gains[static_cast<size_t>(2.0 / kSeconds) - 1] / loudGain, 2.0, 0.1) << "doubles in 2 s";
    EXPECT_LE(*std::max_element(gains.begin(), gains.end()), 16.0f);
    EXPECT_EQ(gains.back(), 16.0f);
}

// Two traces share one scale: a loud right channel lowers the gain of a quiet left one.
TEST(SignalAutoGain, ChannelsShownApartShareTheLouderChannelsGain) {
    const auto gainOf = [](double left, double right, ChannelMode mode) {
        std::vector<double> frames;
        for (uint32_t i = 0; i < kSpan; ++i) frames.insert(frames.end(), {left, right});
        const std::vector<uint8_t> bytes = bytesOf(frames);
        SignalState state;
        const SampleBuffer buffer{bytes.data(), uint32_t(bytes.size()), {SampleFormat::signed16, 2}, kSeconds};
        return selectSpan(buffer, kPoints, {false, true, mode}, state).gain;
    };
    for (ChannelMode mode : {ChannelMode::stereo, ChannelMode::xy}) {
        EXPECT_EQ(gainOf(1000, 20000, mode), gainOf(20000, 1000, mode)) << int(mode);
        EXPECT_LT(gainOf(1000, 20000, mode), gainOf(1000, 1000, mode)) << int(mode);
    }
}

TEST(SignalChannels, EveryFormatSplitsIntoTheFirstTwoChannels) {
    const int32_t left[] = {1000, -20000, 32767, -32768}, right[] = {-5, 7000, 0, 12345};
    for (auto [format, width] : {std::pair{SampleFormat::unsigned8, 1},
                                 {SampleFormat::signed16, 2},
                                 {SampleFormat::signed24, 3},
                                 {SampleFormat::signed32, 4},
                                 {SampleFormat::float32, 4}}) {
        const bool eightBit = format == SampleFormat::unsigned8;
        std::vector<uint8_t> bytes;  // three channels; the third is never shown
        for (int frame = 0; frame < 4; ++frame) {
            for (int32_t level : {left[frame], right[frame], -1}) {
                // An integer carries the level in its top bytes, over a filler.
                uint32_t bits = eightBit ? uint32_t((level >> 8) + 128) << 24 : uint32_t(level) << 16 | 0xABCDu;
                if (format == SampleFormat::float32) bits = std::bit_cast<uint32_t>(level / 32768.0f);
                for (int b = 4 - width; b < 4; ++b) bytes.push_back(uint8_t(bits >> (8 * b)));
            }
        }
        SignalState state;
        const SampleSpan shown = selectSpan({bytes.data(), uint32_t(bytes.size()), {format, 3}, 0.0f}, kPoints,
                                            {false, false, ChannelMode::stereo}, state);
        ASSERT_EQ(sampleCount(shown.right), 4u);
        for (uint32_t i = 0; i < 4; ++i) {
            EXPECT_EQ(levelAt(shown.left, i), eightBit ? (left[i] >> 8) * 256 : left[i]) << width;
            EXPECT_EQ(levelAt(shown.right, i), eightBit ? (right[i] >> 8) * 256 : right[i]) << width;
        }
    }
    const std::vector<uint8_t> one{1, 2, 3, 4};
    SignalState state;
    const SampleSpan shown = selectSpan(mono16(one), kPoints, {false, false, ChannelMode::xy}, state);
    EXPECT_EQ(shown.right.bytes, shown.left.bytes) << "a one-channel source shows the same signal on both";
}

TEST(SignalSpanReduction, DefaultsReduceAsBeforeAndTheTriggerFromItsCrossing) {
    std::mt19937 rng(99);
    std::vector<uint8_t> bytes(2 * kMaxPoints * kBytesPerPoint);
    for (uint8_t& b : bytes) b = uint8_t(rng());
    for (int bits : {8, 16})
        for (int points : {10, 32, 100})
            for (uint32_t count : {0u, 100u, 161u, 512u, 1600u, 3200u}) {
                SignalState state;
                TraceRow before{}, now{};
                reduceInto({bytes.data(), count, points, bits, 25}, before);
                const SampleSpan shown =
                    selectSpan({bytes.data(), count, {pcmFormat(bits), 1}, 0.016f}, points, {}, state);
                reduceSpanInto(shown, shown.left, points, 25, now);
                for (int i = 0; i < kTraceCapacity; ++i)
                    ASSERT_EQ(now[i].load(), before[i].load()) << bits << " bits " << points << " points " << count;
            }
    const auto sine = tone(441.7, 16384, 0.3, 0, rng);
    SignalState state;
    const SampleSpan shown = selectSpan(mono16(sine), kPoints, {true, false, ChannelMode::mono}, state);
    ASSERT_GT(shown.start, 0u);
    TraceRow fromCrossing{}, now{};
    reduceInto({sine.data() + 2 * shown.start, 2 * kSpan, kPoints, 16, 25}, fromCrossing);
    reduceSpanInto(shown, shown.left, kPoints, 25, now);
    for (int i = 0; i < kPoints; ++i) EXPECT_EQ(now[i].load(), fromCrossing[i].load()) << i;
}

// In X-Y the span's pairs are kept for the paint, not reduced.
TEST(XyFigure, HoldsEveryPairOfTheSpanFromItsStartWithItsGain) {
    std::vector<uint8_t> bytes;  // 80 frames, left i * 100 and right -i * 100 - 1
    for (int i = 0; i < 80; ++i)
        for (int level : {i * 100, -i * 100 - 1}) bytes.insert(bytes.end(), {uint8_t(level), uint8_t(level >> 8)});
    SignalState state;
    const SampleBuffer buffer{bytes.data(), uint32_t(bytes.size()), {SampleFormat::signed16, 2}, 0.01f};
    SampleSpan span = selectSpan(buffer, 10, SignalOptions{false, false, ChannelMode::xy}, state);
    span.start = 70;
    span.gain = 2.5f;
    XyFigure figure;
    storeXyFigure(span, figure);
    ASSERT_EQ(figure.count, 10) << "the span ends with the buffer";
    EXPECT_EQ(leftLevel(figure.pairs[0]), 7000);
    EXPECT_EQ(rightLevel(figure.pairs[9]), -7901);
    EXPECT_EQ(figure.gain, 2.5f);
}

}  // namespace
}  // namespace zembrit
