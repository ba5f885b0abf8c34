#pragma once
#include <cstdint>

// Pixel geometry of a paint: the trace's points, the corner tab and the pen
// width. Pure arithmetic, so the renderer's drawing calls stay trivial and
// every odd stored size (huge, negative, margins wider than the window) is
// handled here without overflow.
namespace zembrit {

struct Point {
    int32_t x, y;
};

struct ClientRect {
    int32_t left, top, right, bottom;
};

// Fills out[0..n-1] with the trace's points. width and height are the stored
// window size (not the client rectangle, which only gives left and top);
// margin is innerMargin + borderWidth. Positive values lie above a horizontal
// trace and left of a vertical one. Coordinates that would not fit 32 bits
// are saturated. n <= 0 writes nothing.
void tracePoints(const ClientRect& client, int32_t width, int32_t height, int32_t margin, bool horizontal,
                 const int32_t* values, int n, Point* out);

// One moment of a stereo signal: 16-bit levels, with 32768 at full scale.
struct LevelPair {
    int32_t left, right;
};

// The X-Y figure: fills out[0..n-1] with one point per pair, left across and
// right up, centred in the stored window size. Full scale times gain reaches
// the margins (margin is innerMargin + borderWidth) and no point goes past
// them; margins wider than the window put every point on its centre. gain
// must be a number. n <= 0 writes nothing.
void xyPoints(const ClientRect& client, int32_t width, int32_t height, int32_t margin, float gain,
              const LevelPair* pairs, int n, Point* out);

// A point of a path that keeps its fractions of a pixel, for the beam: its
// speed along a trace must not change with the rounding of each point.
struct PathPoint {
    float x, y;  // (0, 0) is the centre of the top left pixel
};

// tracePoints and xyPoints, unrounded.
void tracePath(const ClientRect& client, int32_t width, int32_t height, int32_t margin, bool horizontal,
               const int32_t* values, int n, PathPoint* out);
void xyPath(const ClientRect& client, int32_t width, int32_t height, int32_t margin, float gain, const LevelPair* pairs,
            int n, PathPoint* out);

struct Triangle {
    Point corners[3];
};

// The tab's corners, right angle first. False for "ht" (no tab); "br", "tr",
// "bl" and "tl" compare exactly and case-sensitively, anything else
// (nullptr included) is drawn as "br". Its legs end leg pixels in from the
// client's edges (kTabLeg at 96 DPI).
inline constexpr int32_t kTabLeg = 10;
bool tabTriangle(const char* tabPosition, const ClientRect& client, int32_t borderWidth, Triangle& out,
                 int32_t leg = kTabLeg);

// False when a border so wide (of either sign) puts the whole tab, outline
// included, beyond the client: nothing of it would show, while GDI would
// still fill a triangle billions of pixels across, for many seconds.
bool tabReachesClient(const ClientRect& client, int32_t borderWidth);

// Width of a pen to create for the tab's outline (borderWidth, the style's);
// the style's width itself is left alone.
int32_t boundedPenWidth(int32_t width, int32_t clientWidth, int32_t clientHeight);

}  // namespace zembrit
