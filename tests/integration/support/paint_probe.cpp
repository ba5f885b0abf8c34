#include "tests/integration/support/paint_probe.h"

#include <gtest/gtest.h>

#include "host/import_patch.h"

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

// An import is found by pointing it at the very function it already calls.
std::string otherPixelReaders(HMODULE plugin) {
    const struct {
        const char* dll;
        const char* name;
    } readers[] = {{"msimg32.dll", "AlphaBlend"}, {"msimg32.dll", "TransparentBlt"}, {"gdi32.dll", "GdiAlphaBlend"},
                   {"gdi32.dll", "GdiTransparentBlt"}, {"gdi32.dll", "StretchBlt"},  {"gdi32.dll", "MaskBlt"},
                   {"gdi32.dll", "PlgBlt"},          {"gdi32.dll", "GetPixel"},       {"gdi32.dll", "GetDIBits"}};
    std::string found;
    for (const auto& reader : readers) {
        HMODULE library = GetModuleHandleA(reader.dll);  // loaded if the plugin imports from it
        void* function = library ? reinterpret_cast<void*>(GetProcAddress(library, reader.name)) : nullptr;
        if (function && standin::patchImport(plugin, reader.dll, reader.name, function))
            found += std::string(found.empty() ? "" : " ") + reader.name;
    }
    return found;
}

}  // namespace zembrit_test
