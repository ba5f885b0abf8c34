#include "scope/blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zembrit {
namespace {

// shown + (frame − shown) × alpha ÷ 255, taken as the difference scaled by
// 128, times round(alpha × 512 ÷ 255), shifted right by 16 (rounding down).
// Every factor fits 16 bits, so four pixels go through one vector multiply
// that keeps the high halves.
int32_t blendFactor(uint8_t alpha) { return (alpha * 512 + 127) / 255; }

uint8_t blendByte(uint8_t frame, uint8_t shown, int32_t factor) {
    const int32_t difference = (frame - shown) * 128;
    return static_cast<uint8_t>(shown + ((difference * factor) >> 16));
}

#if defined(__SSE2__)
__m128i blendLanes(__m128i frame, __m128i shown, __m128i factor) {
    const __m128i difference = _mm_slli_epi16(_mm_sub_epi16(frame, shown), 7);
    return _mm_add_epi16(shown, _mm_mulhi_epi16(difference, factor));
}

// The same sums four pixels at a time; returns how many pixels it blended.
size_t blendVectors(const uint32_t* frame, uint32_t* shown, size_t count, int32_t factor) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lanesFactor = _mm_set1_epi16(static_cast<int16_t>(factor));
    size_t done = 0;
    for (; done + 4 <= count; done += 4) {
        const __m128i from = _mm_loadu_si128(reinterpret_cast<const __m128i*>(frame + done));
        const __m128i to = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shown + done));
        const __m128i low = blendLanes(_mm_unpacklo_epi8(from, zero), _mm_unpacklo_epi8(to, zero), lanesFactor);
        const __m128i high = blendLanes(_mm_unpackhi_epi8(from, zero), _mm_unpackhi_epi8(to, zero), lanesFactor);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + done), _mm_packus_epi16(low, high));
    }
    return done;
}
#else
size_t blendVectors(const uint32_t*, uint32_t*, size_t, int32_t) { return 0; }
#endif

}  // namespace

void blendPixels(const uint32_t* frame, uint32_t* shown, size_t count, uint8_t alpha) {
    const int32_t factor = blendFactor(alpha);
    const size_t done = blendVectors(frame, shown, count, factor);
    const auto* from = reinterpret_cast<const uint8_t*>(frame + done);
    auto* to = reinterpret_cast<uint8_t*>(shown + done);
    for (size_t i = 0; i < (count - done) * 4; ++i) to[i] = blendByte(from[i], to[i], factor);
}

}  // namespace zembrit
