#pragma once
#include <windows.h>

#include <cstdint>

namespace zembrit {

// A 32-bit off-screen surface: a memory device context to draw into, and its
// pixels (top row first, `width` to a row) for blending in memory.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

// What the window shows is kept here and never read back from the screen:
// every paint composes into `shown` and copies it onto the window once. With
// motion blur each frame is drawn into `frame` and blended onto `shown`.
struct BackBuffer {
    Surface shown;
    // Made at the first blended paint, released once frames are copied again.
    Surface frame;
    // `shown` holds a whole frame to blend onto; not so right after a build.
    bool holdsFrame = false;
    // The client size of the last build, made or not: a buffer that could not
    // be made is tried again when the size changes.
    int32_t clientWidth = -1;
    int32_t clientHeight = -1;
};

extern BackBuffer backBuffer;

// Builds `shown` at the client size, cut to the virtual screen; all of it or
// nothing. Releases what was built before.
void rebuildBackBuffer();
// Safe when nothing is built.
void releaseBackBuffer();
// WM_SIZING: the proposed window rectangle, in screen coordinates.
void onSizing(const RECT& proposed);
// WM_SIZE and every completed change of the window's place: a new client size
// rebuilds the buffer and asks for a whole repaint.
void followClientSize();
// `frame`, made at the size of `shown` when missing; null when it cannot be made.
Surface* frameSurface();
void releaseFrameSurface();

}  // namespace zembrit
