#include "scope/geometry.h"

#include <algorithm>
#include <cmath>

#include "settings/saturate.h"
#include "settings/tab_position.h"

namespace zembrit {

namespace {

// The step is rounded to single precision once; the product with i is then
// exact in double, so only the final truncation loses anything. This is what
// puts the last of 100 points one pixel short of the far margin.
float traceStep(int64_t span, int n) {
    if (n < 2) return 0.0f;
    return static_cast<float>(static_cast<float>(span) / static_cast<float>(n - 1));
}

// |i * step| stays within about |span| (below 2^34), so the truncated
// product always fits an int64.
int64_t traceOffset(int i, float step) {
    return static_cast<int64_t>(std::trunc(static_cast<double>(i) * static_cast<double>(step)));
}

Point pointAt(int64_t x, int64_t y) { return Point{saturateToInt32(x), saturateToInt32(y)}; }

constexpr double kXyFullScale = 32768.0;  // the level magnitude that reaches a margin at gain 1

// One axis of the X-Y figure: where a level lands, full scale either way
// reaching the margin on its own side.
double xyPosition(int64_t origin, int64_t size, int64_t margin, double level) {
    const double centre = static_cast<double>(origin) + static_cast<double>(size) / 2.0;
    const double reach = std::max(0.0, static_cast<double>(size - 2 * margin) / 2.0);
    return centre + std::clamp(level, -1.0, 1.0) * reach;
}

// The pixel it lands on, rounded to the nearest.
int64_t xyCoordinate(int64_t origin, int64_t size, int64_t margin, double level) {
    return static_cast<int64_t>(std::floor(xyPosition(origin, size, margin, level) + 0.5));
}

// Where a trace lies: its centre line, where it starts along, and the step
// between points.
struct TraceAxes {
    int64_t centre, origin;
    float step;
};

TraceAxes traceAxes(const ClientRect& client, int32_t width, int32_t height, int32_t margin, bool horizontal, int n) {
    const int64_t m = margin;
    const int64_t centre = horizontal ? int64_t{client.top} + (height >> 1) : int64_t{client.left} + (width >> 1);
    const int64_t origin = (horizontal ? int64_t{client.left} : int64_t{client.top}) + m;
    const int64_t span = (horizontal ? int64_t{width} : int64_t{height}) - 2 * m;
    return {centre, origin, traceStep(span, n)};
}

}  // namespace

void tracePoints(const ClientRect& client, int32_t width, int32_t height, int32_t margin, bool horizontal,
                 const int32_t* values, int n, Point* out) {
    const TraceAxes axes = traceAxes(client, width, height, margin, horizontal, n);
    for (int i = 0; i < n; ++i) {
        const int64_t along = axes.origin + traceOffset(i, axes.step);
        const int64_t across = axes.centre - values[i];
        out[i] = horizontal ? pointAt(along, across) : pointAt(across, along);
    }
}

void tracePath(const ClientRect& client, int32_t width, int32_t height, int32_t margin, bool horizontal,
               const int32_t* values, int n, PathPoint* out) {
    const TraceAxes axes = traceAxes(client, width, height, margin, horizontal, n);
    for (int i = 0; i < n; ++i) {
        const auto along = static_cast<float>(static_cast<double>(axes.origin) + i * static_cast<double>(axes.step));
        const auto across = static_cast<float>(static_cast<double>(axes.centre) - values[i]);
        out[i] = horizontal ? PathPoint{along, across} : PathPoint{across, along};
    }
}

void xyPoints(const ClientRect& client, int32_t width, int32_t height, int32_t margin, float gain,
              const LevelPair* pairs, int n, Point* out) {
    const double scale = static_cast<double>(gain) / kXyFullScale;
    for (int i = 0; i < n; ++i) {
        const int64_t x = xyCoordinate(client.left, width, margin, pairs[i].left * scale);
        const int64_t y = xyCoordinate(client.top, height, margin, -(pairs[i].right * scale));
        out[i] = pointAt(x, y);
    }
}

void xyPath(const ClientRect& client, int32_t width, int32_t height, int32_t margin, float gain, const LevelPair* pairs,
            int n, PathPoint* out) {
    const double scale = static_cast<double>(gain) / kXyFullScale;
    for (int i = 0; i < n; ++i)
        out[i] = PathPoint{static_cast<float>(xyPosition(client.left, width, margin, pairs[i].left * scale)),
                           static_cast<float>(xyPosition(client.top, height, margin, -(pairs[i].right * scale)))};
}

bool tabTriangle(const char* tabPosition, const ClientRect& client, int32_t borderWidth, Triangle& out, int32_t leg) {
    if (tabs::is(tabPosition, tabs::hidden)) return false;
    const bool left = tabs::is(tabPosition, tabs::bottomLeft) || tabs::is(tabPosition, tabs::topLeft);
    const bool top = tabs::is(tabPosition, tabs::topRight) || tabs::is(tabPosition, tabs::topLeft);
    // Each leg runs from the border inset (w) to leg pixels in from the edge;
    // sign +1 measures from the left or top edge, -1 from the right or bottom.
    const int64_t edgeX = left ? client.left : client.right;
    const int64_t edgeY = top ? client.top : client.bottom;
    const int64_t signX = left ? 1 : -1;
    const int64_t signY = top ? 1 : -1;
    const int64_t w = borderWidth;
    out.corners[0] = pointAt(edgeX + signX * w, edgeY + signY * w);
    out.corners[1] = pointAt(edgeX + signX * leg, edgeY + signY * w);
    out.corners[2] = pointAt(edgeX + signX * w, edgeY + signY * leg);
    return true;
}

// Beyond a border of 10 the triangle is reversed: it lies wholly on the far
// side of a diagonal line about |w| − 10 − width − height (in x + y) from
// every client point, so at a distance of that over √2. Past the bound below
// that distance exceeds half the widest pen boundedPenWidth allows.
bool tabReachesClient(const ClientRect& client, int32_t borderWidth) {
    const int64_t width = int64_t{client.right} - client.left;
    const int64_t height = int64_t{client.bottom} - client.top;
    const int64_t larger = width > height ? width : height;
    const int64_t widestPen = larger > 0 ? 3 * larger : 1;
    const int64_t w = borderWidth;
    return (w < 0 ? -w : w) <= width + height + 2 * widestPen + 20;
}

// A round-capped stroke three times as wide as the window's larger side covers
// the whole window from any point inside it (its radius exceeds the
// diagonal), so nothing visible changes beyond that bound, while a pen of
// millions of pixels keeps GDI busy for minutes. GDI draws a negative width
// as its magnitude, so the bound holds for either sign.
int32_t boundedPenWidth(int32_t width, int32_t clientWidth, int32_t clientHeight) {
    const int64_t larger = clientWidth > clientHeight ? clientWidth : clientHeight;
    const int64_t bound = larger > 0 ? 3 * larger : 1;
    if (width > bound) return saturateToInt32(bound);
    if (width < -bound) return saturateToInt32(-bound);
    return width;
}

}  // namespace zembrit
