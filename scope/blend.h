#pragma once
#include <cstddef>
#include <cstdint>

namespace zembrit {

// Blends `count` pixels of a frame onto what is shown, byte by byte, with a
// constant alpha: shown becomes (frame × alpha + shown × (255 − alpha)) ÷ 255,
// within one unit of that quotient truncated or rounded. Alpha 0 leaves shown
// as it was and 255 copies the frame, both exactly. The rows must not overlap.
void blendPixels(const uint32_t* frame, uint32_t* shown, size_t count, uint8_t alpha);

}  // namespace zembrit
