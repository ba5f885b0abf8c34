#include <windows.h>

#include <cstdio>
#include <vector>

#include "host/gdi_handles.h"
#include "host/shell.h"

namespace standin {

bool saveWindowBitmap(HWND window, const char* path) {
    RECT windowArea;
    if (!GetWindowRect(window, &windowArea)) return false;
    // Only what is on the screen can be read back: a window far larger than
    // the screen must not make the picture gigabytes large.
    const RECT screenArea{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT area;
    if (!IntersectRect(&area, &windowArea, &screenArea)) return false;
    const int width = area.right - area.left, height = area.bottom - area.top;
    const ScreenDC screen;
    const MemoryDC memory(screen.get());
    const GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!screen.get() || !memory.get() || !bitmap) return false;
    {
        const Selection selected(memory.get(), bitmap.get());
        if (!selected) return false;
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    }

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    // The bitmap must not be selected into a device context while it is read.
    if (GetDIBits(memory.get(), bitmap.get(), 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                  DIB_RGB_COLORS) != height)
        return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                   std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace standin
