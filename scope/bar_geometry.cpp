#include "scope/bar_geometry.h"

#include <algorithm>

namespace zembrit {
namespace {

int32_t clampToInt32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// A share of a length, in whole pixels; the share held within 0 and 1.
int64_t portion(int64_t length, double share) {
    return static_cast<int64_t>(static_cast<double>(length) * std::clamp(share, 0.0, 1.0));
}

// A box given along the length (from `along` to `alongEnd`) and across it
// (from `across` to `acrossEnd`, measured from the base), in the area.
BarBox place(const ClientRect& area, bool horizontal, int64_t along, int64_t alongEnd, int64_t across,
             int64_t acrossEnd) {
    if (horizontal)
        return {clampToInt32(area.left + along), clampToInt32(area.bottom - acrossEnd),
                clampToInt32(area.left + alongEnd), clampToInt32(area.bottom - across)};
    return {clampToInt32(area.left + across), clampToInt32(area.bottom - alongEnd), clampToInt32(area.left + acrossEnd),
            clampToInt32(area.bottom - along)};
}

struct Extent {
    int64_t length, breadth;
};

Extent extentOf(const ClientRect& area, bool horizontal) {
    const int64_t width = std::max<int64_t>(int64_t{area.right} - area.left, 0);
    const int64_t height = std::max<int64_t>(int64_t{area.bottom} - area.top, 0);
    return horizontal ? Extent{width, height} : Extent{height, width};
}

// The band's stretch along the length.
void bandSpan(int64_t length, int band, int count, int64_t& from, int64_t& to) {
    const int64_t n = std::max(count, 1);
    from = length * band / n;
    to = length * (band + 1) / n;
    if (to - from > 2) --to;
}

// Where a half's bars start across the breadth, how far they may grow, and
// which way (+1 away from the base, -1 toward it).
struct HalfSpan {
    int64_t base, room;
    int sign;
};

HalfSpan halfOf(int64_t breadth, BarHalf half) {
    const int64_t middle = breadth / 2;
    switch (half) {
    case BarHalf::whole: return {0, breadth, 1};
    case BarHalf::first: return {middle, breadth - middle, 1};
    case BarHalf::second: return {middle, middle, -1};
    }
    return {0, breadth, 1};
}

BarBox acrossSpan(const ClientRect& area, bool horizontal, int64_t from, int64_t to, const HalfSpan& span,
                  int64_t start, int64_t end) {
    const int64_t a = span.base + span.sign * start, b = span.base + span.sign * end;
    return place(area, horizontal, from, to, std::min(a, b), std::max(a, b));
}

}  // namespace

ClientRect barArea(const ClientRect& client, int32_t width, int32_t height, int32_t margin) {
    const int64_t left = int64_t{client.left} + margin, top = int64_t{client.top} + margin;
    const int64_t right = std::max<int64_t>(left, int64_t{client.left} + width - margin);
    const int64_t bottom = std::max<int64_t>(top, int64_t{client.top} + height - margin);
    return {clampToInt32(left), clampToInt32(top), clampToInt32(right), clampToInt32(bottom)};
}

BarBox spectrumBar(const ClientRect& area, bool horizontal, int band, int count, BarHalf half, double share) {
    const Extent extent = extentOf(area, horizontal);
    int64_t from = 0, to = 0;
    bandSpan(extent.length, band, count, from, to);
    const HalfSpan span = halfOf(extent.breadth, half);
    return acrossSpan(area, horizontal, from, to, span, 0, portion(span.room, share));
}

BarBox peakMark(const ClientRect& area, bool horizontal, int band, int count, BarHalf half, double share,
                int32_t thickness) {
    const Extent extent = extentOf(area, horizontal);
    int64_t from = 0, to = 0;
    bandSpan(extent.length, band, count, from, to);
    const HalfSpan span = halfOf(extent.breadth, half);
    const int64_t tip = portion(span.room, share);
    return acrossSpan(area, horizontal, from, to, span, std::max<int64_t>(tip - std::max(thickness, 1), 0), tip);
}

namespace {

BarBox onTrack(const ClientRect& area, bool horizontal, int channel, int32_t thickness, int64_t from, int64_t to) {
    const Extent extent = extentOf(area, horizontal);
    const int64_t across = channel == 0 ? 0 : int64_t{std::max(thickness, 1)} + 1;
    const int64_t acrossEnd = std::min<int64_t>(across + std::max(thickness, 1), extent.breadth);
    return place(area, horizontal, from, to, across, acrossEnd);
}

}  // namespace

BarBox meterSpan(const ClientRect& area, bool horizontal, int channel, int32_t thickness, double from, double to) {
    const int64_t length = extentOf(area, horizontal).length;
    return onTrack(area, horizontal, channel, thickness, portion(length, from), portion(length, to));
}

BarBox meterMark(const ClientRect& area, bool horizontal, int channel, int32_t thickness, double at) {
    const int64_t length = extentOf(area, horizontal).length;
    const int64_t start = std::max<int64_t>(portion(length, at) - std::max(thickness, 1), 0);
    return onTrack(area, horizontal, channel, thickness, start,
                   std::min<int64_t>(start + std::max(thickness, 1), length));
}

}  // namespace zembrit
