#include "tests/integration/support/paint_probe.h"

#include <gtest/gtest.h>

#include "host/import_patch.h"
#include "tests/integration/support/window_picture.h"

namespace zembrit_test {

PaintLedger paintLedger;

namespace {

decltype(&BitBlt) realBitBlt;

bool isWindowDC(HDC dc) { return dc && WindowFromDC(dc) != nullptr; }

BOOL WINAPI watchedBitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                          DWORD operation) {
    paintLedger.windowReads += isWindowDC(source);
    if (isWindowDC(target)) {
        ++paintLedger.copiesOntoWindow;
        paintLedger.lastSource = source;
    }
    return realBitBlt(target, x, y, width, height, source, sourceX, sourceY, operation);
}

}  // namespace

bool watchWindowCopies(HMODULE plugin) {
    paintLedger = {};
    void* previous = standin::patchImport(plugin, "gdi32.dll", "BitBlt", reinterpret_cast<void*>(watchedBitBlt));
    if (!previous) {
        ADD_FAILURE() << "the plugin does not import BitBlt";
        return false;
    }
    if (previous != reinterpret_cast<void*>(watchedBitBlt)) realBitBlt = reinterpret_cast<decltype(&BitBlt)>(previous);
    return true;
}

int traceRows(HWND window) {
    const Picture shown = windowPicture(window);
    int rows = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.at(x, y) == RGB(0xe8, 0xf0, 0xff)) {
                ++rows;
                break;
            }
    return rows;
}

}  // namespace zembrit_test
