#include "capture/wasapi/sample_mix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tests/support/sine.h"

namespace zembrit {
namespace {

using zembrit_test::sineLevels;

struct Case {
    FormatTag tag;
    int bits;
    int channels;
};

// A sample of level v (a 16-bit level) as the format stores it, with low bits
// below the top 16 that the conversion must ignore.
void put(std::vector<uint8_t>& out, const Case& c, int16_t v) {
    uint8_t bytes[4];
    if (c.tag == FormatTag::ieeeFloat) {
        const float f = v / 32768.0f;
        std::memcpy(bytes, &f, 4);
    } else {
        const uint32_t word = (static_cast<uint32_t>(static_cast<uint16_t>(v)) << 16) | 0x7F5Au;
        std::memcpy(bytes, &word, 4);
    }
    const int size = c.bits / 8;
    out.insert(out.end(), bytes + (c.tag == FormatTag::ieeeFloat ? 0 : 4 - size), bytes + 4);
}

TEST(SampleMix, EveryFormatAndChannelCountGivesTheSameMonoSine) {
    const std::vector<int16_t> levels = sineLevels(64);
    for (FormatTag tag : {FormatTag::pcm, FormatTag::ieeeFloat})
        for (int bits : {16, 24, 32})
            for (int channels = 1; channels <= kMaxMixChannels; ++channels) {
                const Case c{tag, bits, channels};
                const auto format = mixFormatFor(tag, bits, channels, uint32_t(bits / 8 * channels));
                ASSERT_EQ(format.has_value(), tag == FormatTag::pcm || bits == 32) << bits << " bits";
                if (!format) continue;
                std::vector<uint8_t> bytes;
                for (int16_t v : levels)
                    for (int ch = 0; ch < channels; ++ch) put(bytes, c, v);
                std::vector<int16_t> mono(levels.size()), two(2 * levels.size());
                mixFrames(bytes.data(), uint32_t(levels.size()), *format, MixMode::mono, mono.data());
                mixFrames(bytes.data(), uint32_t(levels.size()), *format, MixMode::firstTwo, two.data());
                for (size_t f = 0; f < levels.size(); ++f) {
                    ASSERT_EQ(mono[f], levels[f]) << bits << " bits, " << channels << " channels, frame " << f;
                    ASSERT_EQ(two[2 * f], levels[f]);
                    ASSERT_EQ(two[2 * f + 1], levels[f]);
                }
            }
}

TEST(SampleMix, ChannelsAreAveragedAndFloatsClipped) {
    const SourceLayout stereoFloat{SampleFormat::float32, 2}, threeInts{SampleFormat::signed16, 3};
    const float floats[] = {2.0f, 2.0f, -1.5f, 0.5f, NAN, 0.25f};
    int16_t out[6];
    mixFrames(reinterpret_cast<const uint8_t*>(floats), 3, stereoFloat, MixMode::mono, out);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], (-32768 + 16384) / 2);
    EXPECT_EQ(out[2], 8192 / 2);
    const int16_t ints[] = {300, -600, 0, 1000, 2000, 3000};
    mixFrames(reinterpret_cast<const uint8_t*>(ints), 2, threeInts, MixMode::firstTwo, out);
    EXPECT_EQ(std::vector<int16_t>(out, out + 4), (std::vector<int16_t>{300, -600, 1000, 2000}));
    mixFrames(reinterpret_cast<const uint8_t*>(ints), 2, threeInts, MixMode::mono, out);
    EXPECT_EQ(out[0], -100);
    EXPECT_EQ(out[1], 2000);
}

TEST(SampleMix, FormatsNoEndpointMixesInAreRefused) {
    EXPECT_FALSE(mixFormatFor(FormatTag::pcm, 8, 1, 1));
    EXPECT_FALSE(mixFormatFor(FormatTag::ieeeFloat, 64, 2, 16));
    EXPECT_FALSE(mixFormatFor(FormatTag::other, 16, 2, 4));
    EXPECT_FALSE(mixFormatFor(FormatTag::pcm, 16, 9, 18));
    EXPECT_FALSE(mixFormatFor(FormatTag::pcm, 16, 0, 0));
    EXPECT_FALSE(mixFormatFor(FormatTag::pcm, 16, 2, 8));  // a frame size that does not match
}

TEST(SpanAccumulator, HandsOnWholeSpansOfEightSamplesPerPointAcrossPackets) {
    SpanAccumulator accumulator;
    accumulator.reset(10, MixMode::mono);  // 80 samples per span
    std::vector<std::vector<int16_t>> spans;
    auto keep = [&](const uint8_t* bytes, uint32_t count, const SourceLayout& layout) {
        EXPECT_EQ(layout.format, SampleFormat::signed16);
        EXPECT_EQ(layout.channels, 1);
        const auto* samples = reinterpret_cast<const int16_t*>(bytes);
        spans.emplace_back(samples, samples + count / 2);
    };
    const std::vector<int16_t> levels = sineLevels(150);
    const SourceLayout format{SampleFormat::signed16, 1};
    accumulator.append(reinterpret_cast<const uint8_t*>(levels.data()), 50, format, keep);
    EXPECT_TRUE(spans.empty());
    accumulator.append(reinterpret_cast<const uint8_t*>(levels.data() + 50), 100, format, keep);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0], std::vector<int16_t>(levels.begin(), levels.begin() + 80));
    accumulator.appendSilence(170, keep);  // 70 left over + 170 = three spans
    ASSERT_EQ(spans.size(), 4u);
    EXPECT_EQ(std::vector<int16_t>(spans[1].begin(), spans[1].begin() + 70),
              std::vector<int16_t>(levels.begin() + 80, levels.end()));
    EXPECT_EQ(spans[3], std::vector<int16_t>(80, 0));

    accumulator.reset(10, MixMode::firstTwo);
    accumulator.appendSilence(80, [&](const uint8_t*, uint32_t count, const SourceLayout& layout) {
        EXPECT_EQ(count, 320u);
        EXPECT_EQ(layout.channels, 2);
        spans.clear();
    });
    EXPECT_TRUE(spans.empty());
}

}  // namespace
}  // namespace zembrit
