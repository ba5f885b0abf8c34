#pragma once
#include <cstdint>

// Lengths between the configuration file's unit and a window's pixels. The
// file stores 96-DPI units: what the window shows at 100 % scale, and what a
// DPI-unaware plugin stored on any screen (the system stretched its pixels).
// A window at another DPI shows each unit as dpi / 96 pixels. Pure
// arithmetic: results round half away from zero and saturate to 32 bits; a
// DPI of 0 (the platform could not tell) reads as 96, and DPIs are held to
// [24, 9600].
namespace zembrit {

inline constexpr uint32_t kBaseDpi = 96;

// A stored coordinate or length, in pixels at dpi.
int32_t shownFromStored(int32_t stored, uint32_t dpi);

// Pixels at dpi, in the file's unit. At 96 DPI and above it undoes
// shownFromStored exactly, so a stored value survives being shown and read
// back; below 96 DPI several stored values share one pixel.
int32_t storedFromShown(int32_t shown, uint32_t dpi);

// A length that must stay visible (a pen, the tab, a distance, a smallest
// size): as shownFromStored, but a non-zero length never shrinks to 0.
int32_t shownLength(int32_t stored, uint32_t dpi);

}  // namespace zembrit
