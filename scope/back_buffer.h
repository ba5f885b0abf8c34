#pragma once
#include <windows.h>

#include <cstdint>

#include "scope/beam.h"

namespace zembrit {

// A 32-bit off-screen surface: a memory device context to draw into, and its
// pixels (top row first, width() to a row) for blending in memory. It owns
// both and gives them back when released or destroyed.
class Surface {
public:
    Surface() = default;
    ~Surface() { release(); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // All of it or nothing, black; releases what was built before.
    bool build(int32_t width, int32_t height);
    // Safe when nothing is built.
    void release();

    bool built() const { return dc_ != nullptr; }
    HDC dc() const { return dc_; }
    uint32_t* pixels() const { return pixels_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    uint32_t* pixels_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// What the window shows is kept here and never read back from the screen:
// every paint composes into `shown` and copies it onto the window once. With
// motion blur each frame is drawn into `frame` and blended onto `shown`,
// which starts black, as an unpainted window shows.
struct BackBuffer {
    Surface shown;
    // Made at the first blended paint, released once frames are copied again.
    Surface frame;
    // The beam's light, at the size of `shown`: made at the first paint with
    // the beam, released once the trace is drawn as a line again.
    BeamPicture beam;
    // The client size of the last build, made or not: a buffer that could not
    // be made is tried again when the size changes.
    int32_t clientWidth = -1;
    int32_t clientHeight = -1;
};

BackBuffer& backBuffer();

// Builds `shown` at the client size, cut to the virtual screen; all of it or
// nothing. Releases what was built before.
void rebuildBackBuffer();
// Safe when nothing is built.
void releaseBackBuffer();
// WM_SIZING: the proposed window rectangle, in screen coordinates.
void followProposedSize(const RECT& proposed);
// WM_SIZE and every completed change of the window's place: a new client size
// rebuilds the buffer and asks for a whole repaint.
void followClientSize();
// `frame`, made at the size of `shown` when missing; null when it cannot be made.
Surface* frameSurface();
void releaseFrameSurface();
// `beam`, made (dark) at the size of `shown` when missing; null when it cannot be made.
BeamPicture* beamPicture();
void releaseBeamPicture();

}  // namespace zembrit
