#include "scope/blend.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZEMBRIT_WIDE_VECTORS 1
#endif

namespace zembrit {
namespace {

// shown + (frame − shown) × alpha ÷ 255, taken as the difference scaled by
// 128, times round(alpha × 512 ÷ 255), shifted right by 16 (rounding down).
// Every factor fits 16 bits, so many pixels go through one vector multiply
// that keeps the high halves: eight where the processor has AVX2, four with
// SSE2, and the rest one byte at a time, all with the same result.
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

// Returns how many pixels it blended.
size_t blendFours(const uint32_t* frame, uint32_t* shown, size_t count, int32_t factor) {
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
size_t blendFours(const uint32_t*, uint32_t*, size_t, int32_t) { return 0; }
#endif

#if defined(ZEMBRIT_WIDE_VECTORS)
__attribute__((target("avx2"))) __m256i blendWideLanes(__m256i frame, __m256i shown, __m256i factor) {
    const __m256i difference = _mm256_slli_epi16(_mm256_sub_epi16(frame, shown), 7);
    return _mm256_add_epi16(shown, _mm256_mulhi_epi16(difference, factor));
}

// Unpacking and packing both work within 128-bit halves, so the pixels come
// back in their order.
__attribute__((target("avx2"))) size_t blendEights(const uint32_t* frame, uint32_t* shown, size_t count,
                                                   int32_t factor) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lanesFactor = _mm256_set1_epi16(static_cast<int16_t>(factor));
    size_t done = 0;
    for (; done + 8 <= count; done += 8) {
        const __m256i from = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(frame + done));
        const __m256i to = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(shown + done));
        const __m256i low =
            blendWideLanes(_mm256_unpacklo_epi8(from, zero), _mm256_unpacklo_epi8(to, zero), lanesFactor);
        const __m256i high =
            blendWideLanes(_mm256_unpackhi_epi8(from, zero), _mm256_unpackhi_epi8(to, zero), lanesFactor);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(shown + done), _mm256_packus_epi16(low, high));
    }
    return done;
}

size_t blendWide(const uint32_t* frame, uint32_t* shown, size_t count, int32_t factor) {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? blendEights(frame, shown, count, factor) : 0;
}
#else
size_t blendWide(const uint32_t*, uint32_t*, size_t, int32_t) { return 0; }
#endif

}  // namespace

void blendPixels(const uint32_t* frame, uint32_t* shown, size_t count, uint8_t alpha) {
    const int32_t factor = blendFactor(alpha);
    size_t done = blendWide(frame, shown, count, factor);
    done += blendFours(frame + done, shown + done, count - done, factor);
    const auto* from = reinterpret_cast<const uint8_t*>(frame + done);
    auto* to = reinterpret_cast<uint8_t*>(shown + done);
    for (size_t i = 0; i < (count - done) * 4; ++i) to[i] = blendByte(from[i], to[i], factor);
}

}  // namespace zembrit
