#pragma once
#include <windows.h>

#include <cstdint>

namespace zembrit {

// The off-screen surface every paint draws into. Lives from window creation
// to destruction; only the sizing handler rebuilds it.
struct BackBuffer {
    HDC memoryDC = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    // The bitmap's size: the client area when the buffer was built.
    int32_t width = 0;
    int32_t height = 0;
};

extern BackBuffer backBuffer;

void rebuildBackBuffer();
// Safe when nothing is built.
void releaseBackBuffer();
// WM_SIZING: the proposed window rectangle, in screen coordinates.
void onSizing(const RECT& proposed);

}  // namespace zembrit
