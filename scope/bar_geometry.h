#pragma once
// Pixel geometry of the spectrum's bars and the level meter's bars. Pure
// arithmetic: a height is a share of the room it grows in (0 to 1; beyond
// is held to them), the area is the window's shown size inside its margins,
// and any odd size (margins wider than the window, huge values) gives empty
// or bounded boxes, never an overflow.
#include <cstdint>

#include "scope/geometry.h"

namespace zembrit {

// A filled box: left and top inside, right and bottom just outside. Empty
// when right <= left or bottom <= top.
struct BarBox {
    int32_t left, top, right, bottom;
};

// The box bars and meters stand in: the client's top left, the shown size,
// each side margin pixels in.
ClientRect barArea(const ClientRect& client, int32_t width, int32_t height, int32_t margin);

// Which part of the area a channel's bars grow in: all of it from the base
// (the bottom, or the left of a vertical scope), or mirrored about the middle
// for stereo: the first channel away from it toward the top (right), the
// second toward the bottom (left).
enum class BarHalf { whole, first, second };

// Band `band` of `count` along the area's length (across a horizontal scope,
// up a vertical one, lowest band first), `share` of its room tall. Bands
// wider than two pixels keep a one-pixel gap.
BarBox spectrumBar(const ClientRect& area, bool horizontal, int band, int count, BarHalf half, double share);

// The mark at `share` above the same band: `thickness` pixels at the bar's tip.
BarBox peakMark(const ClientRect& area, bool horizontal, int band, int count, BarHalf half, double share,
                int32_t thickness);

// The meter's track for `channel` (0 or 1) along the area's base edge (its
// bottom, the left of a vertical scope), `thickness` pixels across, the
// second channel's a pixel further in: the part from share `from` to `to`
// of the area's length.
BarBox meterSpan(const ClientRect& area, bool horizontal, int channel, int32_t thickness, double from, double to);

// A square mark on the same track ending at share `at`, moved in to the
// track's start where it would begin before it.
BarBox meterMark(const ClientRect& area, bool horizontal, int channel, int32_t thickness, double at);

}  // namespace zembrit
