#include "scope/back_buffer.h"

#include "plugin/plugin_state.h"
#include "settings/saturate.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "settings/virtual_screen.h"

namespace zembrit {

BackBuffer backBuffer;

namespace {

// A window made larger than the screen by someone else still gets a buffer
// no larger than the screen; the transfer clips to it.
int32_t cutToScreen(LONG client, int32_t screen) { return screen > 0 && client > screen ? screen : client; }

void releaseSurface(Surface& surface) {
    if (surface.previousBitmap) SelectObject(surface.dc, surface.previousBitmap);
    if (surface.bitmap) DeleteObject(surface.bitmap);
    if (surface.dc) DeleteDC(surface.dc);
    surface = Surface{};
}

// A section rather than a compatible bitmap: its pixels are in our memory,
// where blending needs no round trip through the display driver.
bool buildSurface(Surface& surface, int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    surface.dc = CreateCompatibleDC(nullptr);  // compatible with the screen
    if (surface.dc) surface.bitmap = CreateDIBSection(surface.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (surface.bitmap) surface.previousBitmap = SelectObject(surface.dc, surface.bitmap);
    if (!surface.previousBitmap || !bits) {
        releaseSurface(surface);
        return false;
    }
    surface.pixels = static_cast<uint32_t*>(bits);
    surface.width = width;
    surface.height = height;
    return true;
}

}  // namespace

void rebuildBackBuffer() {
    releaseBackBuffer();
    RECT client{};
    GetClientRect(scopeWindow, &client);
    backBuffer.clientWidth = client.right;
    backBuffer.clientHeight = client.bottom;
    const ScreenExtent screen = virtualScreen();
    buildSurface(backBuffer.shown, cutToScreen(client.right, screen.width),
                 cutToScreen(client.bottom, screen.height));
}

void releaseBackBuffer() {
    releaseSurface(backBuffer.frame);
    releaseSurface(backBuffer.shown);
    backBuffer.holdsFrame = false;
}

// The buffer is rebuilt at the client size the window has before this step
// takes effect; the stored size already follows the proposal.
void onSizing(const RECT& proposed) {
    const ScreenExtent screen = virtualScreen();
    settings.width = windowExtentWithin(saturateToInt32(int64_t{proposed.right} - proposed.left), screen.width);
    settings.height = windowExtentWithin(saturateToInt32(int64_t{proposed.bottom} - proposed.top), screen.height);
    rebuildBackBuffer();
}

void followClientSize() {
    RECT client{};
    if (!scopeWindow || !GetClientRect(scopeWindow, &client)) return;
    if (client.right == backBuffer.clientWidth && client.bottom == backBuffer.clientHeight) return;
    rebuildBackBuffer();
    InvalidateRect(scopeWindow, nullptr, FALSE);
}

Surface* frameSurface() {
    Surface& frame = backBuffer.frame;
    if (!frame.dc && !buildSurface(frame, backBuffer.shown.width, backBuffer.shown.height)) return nullptr;
    return &frame;
}

void releaseFrameSurface() { releaseSurface(backBuffer.frame); }

}  // namespace zembrit
