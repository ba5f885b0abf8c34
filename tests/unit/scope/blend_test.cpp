#include "scope/blend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace zembrit {
namespace {

// Every alpha, frame byte and shown byte, in rows of 64, 4 and 1 pixels (so
// through each way of blending the processor offers): within one unit of the exact blend whether
// that is truncated or rounded, exact at alpha 0 and 255, and nothing
// written past the row.
TEST(Blend, EveryByteIsWithinOneOfTheExactBlend) {
    constexpr size_t kPixels = 64;  // 256 shown bytes, one of each value
    for (size_t perCall : {kPixels, size_t{4}, size_t{1}}) {
        for (int alpha = 0; alpha < 256; ++alpha) {
            for (int from = 0; from < 256; ++from) {
                uint32_t frame[kPixels + 1], shown[kPixels + 1];
                std::memset(frame, from, sizeof frame);
                auto* bytes = reinterpret_cast<uint8_t*>(shown);
                for (int i = 0; i < 256; ++i) bytes[i] = static_cast<uint8_t>(i);
                shown[kPixels] = 0xA5A5A5A5;
                for (size_t first = 0; first < kPixels; first += perCall)
                    blendPixels(frame + first, shown + first, perCall, static_cast<uint8_t>(alpha));
                ASSERT_EQ(shown[kPixels], 0xA5A5A5A5u);
                for (int to = 0; to < 256; ++to) {
                    const int exact255 = from * alpha + to * (255 - alpha);  // 255 × the exact value
                    const int got = bytes[to];
                    ASSERT_LE(std::abs(got - exact255 / 255), 1) << perCall << " " << alpha << " " << from << " " << to;
                    ASSERT_LE(std::abs(got - (exact255 + 127) / 255), 1) << perCall << " " << alpha << " " << from;
                    if (alpha == 0 || alpha == 255) {
                        ASSERT_EQ(got, alpha == 0 ? to : from);
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace zembrit
