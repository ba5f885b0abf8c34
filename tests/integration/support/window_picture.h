#pragma once
// Pixels read back from a window as it shows them, or from a drawing made
// off screen to compare them with.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace zembrit_test {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

    COLORREF at(int x, int y) const {
        uint32_t p = pixels[static_cast<size_t>(y) * width + x];
        return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
    }
    int count(COLORREF colour) const;  // pixels that show exactly colour
};

// Runs draw on a 32-bit top-down DIB of the given size and returns its pixels.
Picture drawn(int width, int height, const std::function<void(HDC)>& draw);

// The window's client area as it is on screen now.
Picture windowPicture(HWND window);

}  // namespace zembrit_test
