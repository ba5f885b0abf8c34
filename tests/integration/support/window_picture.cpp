#include "tests/integration/support/window_picture.h"

#include <algorithm>

namespace zembrit_test {

int Picture::count(COLORREF colour) const {
    const uint32_t wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), wanted));
}

Picture drawn(int width, int height, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    Picture picture{width, height, {}};
    const auto* first = static_cast<const uint32_t*>(bits);
    picture.pixels.assign(first, first + static_cast<size_t>(width) * height);
    for (uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return picture;
}

Picture windowPicture(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC source = GetDC(window);
    Picture picture = drawn(client.right, client.bottom,
                            [&](HDC dc) { BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY); });
    ReleaseDC(window, source);
    return picture;
}

}  // namespace zembrit_test
