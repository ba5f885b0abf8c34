// One frame: background, trace and tab into the back buffer, then a single
// copy or blend of the repainted rectangle onto the window.
#include "scope/renderer.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "capture/trace_points.h"
#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "scope/back_buffer.h"
#include "scope/color_key.h"
#include "scope/gdi_objects.h"
#include "scope/geometry.h"
#include "settings/saturate.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "settings/style.h"

namespace zembrit {
namespace {

ClientRect clientOf(const RECT& rect) { return ClientRect{rect.left, rect.top, rect.right, rect.bottom}; }

int32_t traceMargin() { return saturateToInt32(int64_t{style.innerMargin} + style.borderWidth); }

void drawBackground(HDC back, RECT client) {
    if (settings.transbackEnabled) {
        OwnedObject brush(CreateSolidBrush(colorKey));
        FillRect(back, &client, static_cast<HBRUSH>(brush.handle));
        return;
    }
    host.MakeStyleGradient(back, &client, style.styleRecord, settings.showBorder);
}

void drawTrace(HDC back, const RECT& client) {
    // A copy taken once, so the whole polyline comes from one read of each value.
    const int n = clampBufferPoints(settings.bufferPoints);
    int32_t values[kMaxPoints];
    for (int i = 0; i < n; ++i) values[i] = TracePoints[i];
    Point points[kMaxPoints];
    tracePoints(clientOf(client), settings.width, settings.height, traceMargin(), isHorizontal(settings.scopeType),
                values, n, points);

    const int32_t penWidth = penWidthForTrace(settings.scopeWidth, client.right - client.left,
                                              client.bottom - client.top);
    OwnedObject pen(CreatePen(PS_SOLID, penWidth, style.scopeColor));
    Selection selected(back, pen);
    MoveToEx(back, points[0].x, points[0].y, nullptr);
    for (int i = 1; i < n; ++i) LineTo(back, points[i].x, points[i].y);
}

void drawTab(HDC back, const RECT& client) {
    OwnedObject pen(CreatePen(PS_SOLID, style.borderWidth, style.borderColor));
    OwnedObject brush(CreateSolidBrush(styleFillColor()));
    Selection penSelected(back, pen);
    Selection brushSelected(back, brush);
    Triangle tab;
    if (!tabTriangle(settings.tabPosition, clientOf(client), style.borderWidth, tab)) return;
    const POINT corners[3] = {{tab.corners[0].x, tab.corners[0].y},
                              {tab.corners[1].x, tab.corners[1].y},
                              {tab.corners[2].x, tab.corners[2].y}};
    Polygon(back, corners, 3);
}

// Only the part of the paint rectangle the buffer covers is transferred, so
// nothing is read from outside the bitmap. A client area larger than the
// buffer (after a size change that bypassed the sizing handler, or a dock
// resize) keeps showing, beyond the buffer, whatever the window showed there
// before: nothing erases it, as the class has no background brush.
void transfer(const PaintSession& paint, HDC back) {
    const RECT& dirty = paint.paint.rcPaint;
    const LONG left = std::max<LONG>(dirty.left, 0);
    const LONG top = std::max<LONG>(dirty.top, 0);
    const LONG width = std::min<LONG>(dirty.right, backBuffer.width) - left;
    const LONG height = std::min<LONG>(dirty.bottom, backBuffer.height) - top;
    if (width <= 0 || height <= 0) return;
    if (settings.motionBlur && !settings.transbackEnabled) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, settings.motionBlurAlpha, 0};
        AlphaBlend(paint.dc, left, top, width, height, back, left, top, width, height, blend);
        return;
    }
    BitBlt(paint.dc, left, top, width, height, back, left, top, SRCCOPY);
}

}  // namespace

void paintScope() {
    PaintSession paint(scopeWindow);
    RECT client{};
    GetClientRect(scopeWindow, &client);
    HDC back = backBuffer.memoryDC;
    drawBackground(back, client);
    drawTrace(back, client);
    if (settings.transbackEnabled) drawTab(back, client);
    transfer(paint, back);
}

}  // namespace zembrit
