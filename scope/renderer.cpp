// One frame: background, the view (the trace as a line or the beam's light,
// or the spectrum's bars), the level meter and the tab drawn into memory,
// blended there onto what the window shows when motion blur is on, then one
// copy of the repainted rectangle onto the window. Nothing is ever read from
// the window.
#include "scope/renderer.h"

#include <windows.h>

#include <algorithm>

#include "capture/latest_trace.h"
#include "scope/back_buffer.h"
#include "scope/bar_geometry.h"
#include "scope/beam.h"
#include "scope/blend.h"
#include "scope/color_key.h"
#include "scope/gdi_objects.h"
#include "scope/geometry.h"
#include "scope/scope_dpi.h"
#include "scope/window_state.h"
#include "settings/saturate.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "settings/signal_settings.h"
#include "settings/style.h"
#include "shell/shell_api.h"

namespace zembrit {
namespace {

ClientRect clientOf(const RECT& rect) { return ClientRect{rect.left, rect.top, rect.right, rect.bottom}; }

int32_t traceMargin() { return lengthOnScope(saturateToInt32(int64_t{style().innerMargin} + style().borderWidth)); }

// The stored size, which places the trace, in the window's pixels.
int32_t shownWidth() { return shownOnScope(settings().width); }
int32_t shownHeight() { return shownOnScope(settings().height); }
int32_t traceWidth() { return lengthOnScope(settings().scopeWidth); }

int32_t boundedPen(int32_t width, const RECT& client) {
    return boundedPenWidth(width, client.right - client.left, client.bottom - client.top);
}

void drawBackground(HDC target, RECT client, bool seeThrough) {
    if (seeThrough) {
        OwnedObject brush(CreateSolidBrush(colorKey));
        FillRect(target, &client, static_cast<HBRUSH>(brush.handle));
        return;
    }
    // The shell's function takes the record unqualified; it only reads it.
    void* record = const_cast<unsigned char*>(style().styleRecord);
    shellApi.MakeStyleGradient(target, &client, record, settings().showBorder);
}

// The stored width is within 1 to kWidestLine, shown at the scope's scale:
// the pen needs no bound of its own.
void drawLine(HDC target, const Point* points, int n, COLORREF color) {
    POINT line[kMaxXyPairs];
    for (int i = 0; i < n; ++i) line[i] = POINT{points[i].x, points[i].y};
    OwnedObject pen(CreatePen(PS_SOLID, traceWidth(), color));
    Selection selected(target, pen);
    Polyline(target, line, n);
}

// A copy of the row taken once, so the whole trace comes from one read of
// each value. The reduction measures the trace in stored units, as the size.
int rowValues(const TraceRow& row, int32_t* values) {
    const int n = clampBufferPoints(settings().bufferPoints);
    for (int i = 0; i < n; ++i) values[i] = shownOnScope(row[i]);
    return n;
}

int figurePairs(const XyFigure& figure, LevelPair* pairs) {
    const int n = std::clamp<int>(figure.count, 0, kMaxXyPairs);
    for (int i = 0; i < n; ++i) {
        const uint32_t pair = figure.pairs[i];
        pairs[i] = LevelPair{leftLevel(pair), rightLevel(pair)};
    }
    return n;
}

// A row's points, in whole pixels for a line or unrounded for the beam.
void placeRow(const RECT& client, const int32_t* values, int n, Point* out) {
    tracePoints(clientOf(client), shownWidth(), shownHeight(), traceMargin(), isHorizontal(settings().scopeType),
                values, n, out);
}
void placeRow(const RECT& client, const int32_t* values, int n, PathPoint* out) {
    tracePath(clientOf(client), shownWidth(), shownHeight(), traceMargin(), isHorizontal(settings().scopeType), values,
              n, out);
}

void placeFigure(const RECT& client, float gain, const LevelPair* pairs, int n, Point* out) {
    xyPoints(clientOf(client), shownWidth(), shownHeight(), traceMargin(), gain, pairs, n, out);
}
void placeFigure(const RECT& client, float gain, const LevelPair* pairs, int n, PathPoint* out) {
    xyPath(clientOf(client), shownWidth(), shownHeight(), traceMargin(), gain, pairs, n, out);
}

// The stored colour, or the trace colour halfway to the style's fill colour.
// The fill stands for the background even when that is see-through: a mix
// with the colour key would tint the trace with it.
COLORREF rightTraceColor() {
    if (const auto stored = colorFromHex(settings().rightColor)) return *stored;
    return halfMix(style().scopeColor, styleFillColor());
}

// Hands each trace the channels show to draw(points, count, colour): the
// row, both rows in stereo, or every pair of the X-Y figure.
template <class PointType, class Draw>
void forEachTrace(const RECT& client, Draw draw) {
    PointType points[kMaxXyPairs];
    const auto row = [&](const TraceRow& trace, COLORREF color) {
        int32_t values[kMaxPoints];
        const int n = rowValues(trace, values);
        placeRow(client, values, n, points);
        draw(points, n, color);
    };
    const TracePicture& picture = latestPicture();
    switch (settings().channels) {
    case ChannelMode::mono: return row(picture.left, style().scopeColor);
    case ChannelMode::stereo: row(picture.left, style().scopeColor); return row(picture.right, rightTraceColor());
    case ChannelMode::xy: {
        const XyFigure& figure = picture.figure;
        LevelPair pairs[kMaxXyPairs];
        const int n = figurePairs(figure, pairs);
        placeFigure(client, figure.gain, pairs, n, points);
        return draw(points, n, style().scopeColor);
    }
    }
}

void drawTrace(HDC target, const RECT& client) {
    forEachTrace<Point>(client,
                        [&](const Point* points, int n, COLORREF color) { drawLine(target, points, n, color); });
}

BeamColor beamColorOf(COLORREF color) {
    return {GetRValue(color) / 255.0f, GetGValue(color) / 255.0f, GetBValue(color) / 255.0f};
}

// One frame of the beam: the light of the frames before fades, this frame's
// traces add theirs, and the sum is laid over the background.
void drawBeam(const Surface& target, const RECT& client, BeamPicture& beam, bool seeThrough) {
    const float persistence = beamPersistence(settings().motionBlur, settings().motionBlurAlpha);
    const float sigma = beamSigma(traceWidth());
    beam.fade(persistence);
    forEachTrace<PathPoint>(client, [&](const PathPoint* path, int n, COLORREF color) {
        beam.expose(path, n, sigma, beamExposure(path, n, persistence), beamColorOf(color));
    });
    GdiFlush();  // the background must have reached the pixels
    beam.composite(target.pixels(), target.width(), seeThrough);
}

// The meter's tracks and the spectrum's peak marks, at 96 DPI.
constexpr int32_t kMeterThickness = 3;
constexpr int32_t kPeakMarkThickness = 1;
constexpr COLORREF kClipColor = RGB(0xff, 0x30, 0x30);

ClientRect barAreaOf(const RECT& client) {
    return barArea(clientOf(client), shownWidth(), shownHeight(), traceMargin());
}

// A height of the picture as a share of its scale.
double shareOf(int32_t height) { return static_cast<double>(height) / kFullHeight; }

void fillBox(HDC target, const BarBox& box, HBRUSH brush) {
    if (box.right <= box.left || box.bottom <= box.top) return;
    const RECT rect{box.left, box.top, box.right, box.bottom};
    FillRect(target, &rect, brush);
}

void drawBands(HDC target, const ClientRect& area, const SpectrumBars& bars, int count, BarHalf half, COLORREF color) {
    const bool horizontal = isHorizontal(settings().scopeType);
    const int32_t mark = lengthOnScope(kPeakMarkThickness);
    OwnedObject brush(CreateSolidBrush(color));
    const auto fill = static_cast<HBRUSH>(brush.handle);
    for (int band = 0; band < count; ++band) {
        fillBox(target, spectrumBar(area, horizontal, band, count, half, shareOf(bars.bars[band])), fill);
        if (const int32_t peak = bars.peaks[band])
            fillBox(target, peakMark(area, horizontal, band, count, half, shareOf(peak), mark), fill);
    }
}

// Stereo mirrors the right channel's bars below the left's.
void drawSpectrum(HDC target, const RECT& client) {
    const SpectrumPicture& spectrum = latestPicture().spectrum;
    const int count = std::clamp<int>(spectrum.count, 0, kMaxBands);
    const ClientRect area = barAreaOf(client);
    if (settings().channels != ChannelMode::stereo)
        return drawBands(target, area, spectrum.left, count, BarHalf::whole, style().scopeColor);
    drawBands(target, area, spectrum.left, count, BarHalf::first, style().scopeColor);
    drawBands(target, area, spectrum.right, count, BarHalf::second, rightTraceColor());
}

// The RMS solid, the peak beyond it lighter, the held mark, and the clip
// mark lit at the track's end.
void drawLevel(HDC target, const ClientRect& area, int channel, const ChannelLevel& level) {
    const bool horizontal = isHorizontal(settings().scopeType);
    const int32_t thickness = lengthOnScope(kMeterThickness);
    const double rms = shareOf(level.rms), peak = shareOf(level.peak), hold = shareOf(level.hold);
    OwnedObject solid(CreateSolidBrush(style().scopeColor));
    OwnedObject light(CreateSolidBrush(halfMix(style().scopeColor, styleFillColor())));
    fillBox(target, meterSpan(area, horizontal, channel, thickness, 0, rms), static_cast<HBRUSH>(solid.handle));
    fillBox(target, meterSpan(area, horizontal, channel, thickness, rms, std::max(rms, peak)),
            static_cast<HBRUSH>(light.handle));
    if (hold > 0)
        fillBox(target, meterMark(area, horizontal, channel, thickness, hold), static_cast<HBRUSH>(solid.handle));
    if (!level.clipped) return;
    OwnedObject clip(CreateSolidBrush(kClipColor));
    fillBox(target, meterMark(area, horizontal, channel, thickness, 1.0), static_cast<HBRUSH>(clip.handle));
}

void drawMeter(HDC target, const RECT& client) {
    const LevelPicture& levels = latestPicture().levels;
    const int channels = std::clamp<int>(levels.channels, 0, 2);
    const ClientRect area = barAreaOf(client);
    for (int channel = 0; channel < channels; ++channel) drawLevel(target, area, channel, levels.channel[channel]);
}

void drawTab(HDC target, const RECT& client) {
    const ClientRect area = clientOf(client);
    const int32_t border = lengthOnScope(style().borderWidth);
    Triangle tab;
    if (!tabReachesClient(area, border) ||
        !tabTriangle(settings().tabPosition, area, border, tab, lengthOnScope(kTabLeg)))
        return;
    OwnedObject pen(CreatePen(PS_SOLID, boundedPen(border, client), style().borderColor));
    OwnedObject brush(CreateSolidBrush(styleFillColor()));
    Selection penSelected(target, pen);
    Selection brushSelected(target, brush);
    const POINT corners[3] = {{tab.corners[0].x, tab.corners[0].y},
                              {tab.corners[1].x, tab.corners[1].y},
                              {tab.corners[2].x, tab.corners[2].y}};
    Polygon(target, corners, 3);
}

void drawFrame(const Surface& target, const RECT& client, BeamPicture* beam, bool seeThrough) {
    drawBackground(target.dc(), client, seeThrough);
    if (settings().view == PictureView::spectrum)
        drawSpectrum(target.dc(), client);
    else if (beam)
        drawBeam(target, client, *beam, seeThrough);
    else
        drawTrace(target.dc(), client);
    if (settings().meter) drawMeter(target.dc(), client);
    if (seeThrough) drawTab(target.dc(), client);
}

// The part of the paint rectangle the buffer covers: nothing is read or
// written outside it. A client area larger than the buffer (a window made
// larger than the screen) keeps, beyond it, what the window showed there.
RECT transferArea(const RECT& dirty, const Surface& shown) {
    return RECT{std::max<LONG>(dirty.left, 0), std::max<LONG>(dirty.top, 0), std::min<LONG>(dirty.right, shown.width()),
                std::min<LONG>(dirty.bottom, shown.height())};
}

void blendOntoShown(const Surface& frame, const Surface& shown, const RECT& area) {
    GdiFlush();  // the frame's drawing must have reached its pixels
    const size_t width = static_cast<size_t>(area.right - area.left);
    for (LONG y = area.top; y < area.bottom; ++y) {
        const size_t rowStart = static_cast<size_t>(y) * static_cast<size_t>(shown.width()) + area.left;
        blendPixels(frame.pixels() + rowStart, shown.pixels() + rowStart, width, settings().motionBlurAlpha);
    }
}

// The beam draws the trace; the spectrum's bars are drawn plainly.
bool beamShown() { return settings().beam && settings().view == PictureView::trace; }

// Every frame is blended, the first after a build onto black; a see-through
// one is drawn straight into what is shown, since a blend would spoil its
// colour key. The beam's own persistence stands in for the blend.
Surface* blendedFrameSurface(bool seeThrough) {
    if (settings().motionBlur && !seeThrough && !beamShown()) return frameSurface();
    releaseFrameSurface();
    return nullptr;
}

// Without its picture (it could not be made) the trace is drawn as a line.
BeamPicture* beamOfThisPaint() {
    if (beamShown()) return beamPicture();
    releaseBeamPicture();
    return nullptr;
}

}  // namespace

// Without a buffer (it could not be made) the paint only validates the
// window; the next size change tries to make it again. A window left invalid
// would be sent WM_PAINT again at once, for ever.
void paintScope(HWND window) {
    PaintSession paint(window);
    const Surface& shown = backBuffer().shown;
    if (window != scopeWindow() || !shown.built()) return;
    RECT client{};
    GetClientRect(window, &client);
    // The colour key is see-through only on a layered window (floating, where
    // the system has them); elsewhere the style's background stands in.
    const bool seeThrough = settings().transbackEnabled && isLayered();
    const Surface* frame = blendedFrameSurface(seeThrough);
    drawFrame(frame ? *frame : shown, client, beamOfThisPaint(), seeThrough);
    const RECT area = transferArea(paint.paint.rcPaint, shown);
    if (area.right <= area.left || area.bottom <= area.top) return;
    if (frame) blendOntoShown(*frame, shown, area);
    BitBlt(paint.dc, area.left, area.top, area.right - area.left, area.bottom - area.top, shown.dc(), area.left,
           area.top, SRCCOPY);
}

}  // namespace zembrit
