#include "scope/back_buffer.h"

#include <algorithm>

#include "scope/scope_dpi.h"
#include "scope/window_state.h"
#include "settings/saturate.h"
#include "settings/settings_store.h"
#include "settings/virtual_screen.h"

namespace zembrit {

namespace {

BackBuffer buffer;

// A window made larger than the screen by someone else still gets a buffer
// no larger than the screen; the transfer clips to it.
int32_t cutToScreen(LONG client, int32_t screen) { return screen > 0 && client > screen ? screen : client; }

}  // namespace

void Surface::release() {
    if (previousBitmap_) SelectObject(dc_, previousBitmap_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previousBitmap_ = nullptr;
    pixels_ = nullptr;
    width_ = height_ = 0;
}

// A section rather than a compatible bitmap: its pixels are in our memory,
// where blending needs no round trip through the display driver.
bool Surface::build(int32_t width, int32_t height) {
    release();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);  // compatible with the screen
    if (dc_) bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_) previousBitmap_ = SelectObject(dc_, bitmap_);
    if (!previousBitmap_ || !bits) {
        release();
        return false;
    }
    pixels_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    // A blur blends its first frame onto this, so it must not be whatever
    // memory the section was given.
    std::fill_n(pixels_, static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    return true;
}

BackBuffer& backBuffer() { return buffer; }

void rebuildBackBuffer() {
    releaseBackBuffer();
    RECT client{};
    GetClientRect(scopeWindow(), &client);
    buffer.clientWidth = client.right;
    buffer.clientHeight = client.bottom;
    const ScreenExtent screen = virtualScreen();
    buffer.shown.build(cutToScreen(client.right, screen.width), cutToScreen(client.bottom, screen.height));
}

void releaseBackBuffer() {
    buffer.beam.release();
    buffer.frame.release();
    buffer.shown.release();
}

// The buffer is rebuilt at the client size the window has before this step
// takes effect; the held size already follows the proposal, and the file
// gets it once the window has it.
void followProposedSize(const RECT& proposed) {
    setWithoutStoring(keys::width, storedFromScope(saturateToInt32(int64_t{proposed.right} - proposed.left)));
    setWithoutStoring(keys::height, storedFromScope(saturateToInt32(int64_t{proposed.bottom} - proposed.top)));
    rebuildBackBuffer();
}

void followClientSize() {
    RECT client{};
    if (!scopeWindow() || !GetClientRect(scopeWindow(), &client)) return;
    if (client.right == buffer.clientWidth && client.bottom == buffer.clientHeight) return;
    rebuildBackBuffer();
    InvalidateRect(scopeWindow(), nullptr, FALSE);
}

Surface* frameSurface() {
    Surface& frame = buffer.frame;
    if (!frame.built() && !frame.build(buffer.shown.width(), buffer.shown.height())) return nullptr;
    return &frame;
}

void releaseFrameSurface() { buffer.frame.release(); }

BeamPicture* beamPicture() {
    BeamPicture& beam = buffer.beam;
    if (!beam.built() && !beam.resize(buffer.shown.width(), buffer.shown.height())) return nullptr;
    return &beam;
}

void releaseBeamPicture() { buffer.beam.release(); }

}  // namespace zembrit
