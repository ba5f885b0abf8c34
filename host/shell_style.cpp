// The shell's style: a "key: value" file of "#rrggbb" colours and a few
// integers, read into the record and metrics that GetSettingPtr hands out.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "host/config_text.h"
#include "host/gdi_handles.h"
#include "host/shell.h"
#include "host/text_file.h"
#include "shell/shell_api.h"

namespace standin {
namespace {

// Layout of our style record; the plugin knows only its size and byte 16.
struct StyleRecord {
    COLORREF gradientFrom;
    COLORREF gradientTo;
    int32_t reserved[2];
    COLORREF fill;  // byte 16
};
static_assert(offsetof(StyleRecord, fill) == zembrit::kStyleRecordFillOffset);

alignas(8) unsigned char styleRecord[zembrit::kStyleRecordSize];
int32_t borderWidth = 1;
COLORREF borderColor = RGB(136, 153, 170);
int32_t innerMargin = 0;
std::string currentStylePath;

COLORREF colorOf(const std::string& text, const char* key, COLORREF fallback) {
    uint32_t color;
    auto value = zembrit::shellfile::lookupValue(text, key);
    return value && zembrit::shellfile::parseColorValue(*value, color) ? color : fallback;
}

int32_t intOf(const std::string& text, const char* key, int32_t fallback) {
    int32_t number;
    auto value = zembrit::shellfile::lookupValue(text, key);
    return value && zembrit::shellfile::parseIntValue(*value, number) ? number : fallback;
}

StyleRecord& record() { return *reinterpret_cast<StyleRecord*>(styleRecord); }

void fillVertical(HDC dc, const RECT& rect, COLORREF from, COLORREF to) {
    TRIVERTEX corners[2] = {
        {rect.left, rect.top, static_cast<COLOR16>(GetRValue(from) << 8), static_cast<COLOR16>(GetGValue(from) << 8),
         static_cast<COLOR16>(GetBValue(from) << 8), 0},
        {rect.right, rect.bottom, static_cast<COLOR16>(GetRValue(to) << 8), static_cast<COLOR16>(GetGValue(to) << 8),
         static_cast<COLOR16>(GetBValue(to) << 8), 0},
    };
    GRADIENT_RECT span = {0, 1};
    GradientFill(dc, corners, 2, &span, 1, GRADIENT_FILL_RECT_V);
}

void frame(HDC dc, const RECT& rect, int width, COLORREF color) {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    if (!brush) return;
    RECT edge = rect;
    for (int i = 0; i < width && edge.right > edge.left && edge.bottom > edge.top; ++i) {
        FrameRect(dc, &edge, brush.get());
        InflateRect(&edge, -1, -1);
    }
}

}  // namespace

void loadStyle() {
    currentStylePath =
        shellOptions.styleFile.empty() ? shellOptions.shellDir + "default.style" : shellOptions.styleFile;
    const std::string text = readTextFile(currentStylePath.c_str()).value_or("");
    std::memset(styleRecord, 0, sizeof styleRecord);
    record().gradientFrom = colorOf(text, "scope.gradient.from", RGB(28, 39, 51));
    record().gradientTo = colorOf(text, "scope.gradient.to", RGB(58, 79, 102));
    record().fill = colorOf(text, "scope.tab.color", RGB(90, 127, 166));
    borderWidth = intOf(text, "border.width", 1);
    borderColor = colorOf(text, "border.color", RGB(136, 153, 170));
    innerMargin = intOf(text, "margin", 0);
}

}  // namespace standin

using namespace standin;

extern "C" {

__declspec(dllexport) void* GetSettingPtr(int index) {
    switch (index) {
    case zembrit::kSettingStyleRecord: return styleRecord;
    case zembrit::kSettingBorderWidth: return &borderWidth;
    case zembrit::kSettingBorderColor: return &borderColor;
    case zembrit::kSettingInnerMargin: return &innerMargin;
    default: return nullptr;
    }
}

__declspec(dllexport) const char* stylePath(const char*) { return currentStylePath.c_str(); }

__declspec(dllexport) COLORREF ReadColor(const char* path, const char* key, const char* defaultValue) {
    uint32_t fallback = RGB(255, 255, 255);
    if (defaultValue) zembrit::shellfile::parseColorValue(defaultValue, fallback);
    return key ? colorOf(readTextFile(path).value_or(""), key, fallback) : fallback;
}

__declspec(dllexport) void MakeStyleGradient(HDC dc, RECT* rect, void* style, bool border) {
    if (!dc || !rect || !style) return;
    const auto& look = *static_cast<const StyleRecord*>(style);
    fillVertical(dc, *rect, look.gradientFrom, look.gradientTo);
    if (border) frame(dc, *rect, borderWidth, borderColor);
}

}  // extern "C"
