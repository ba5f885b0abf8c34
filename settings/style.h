#pragma once
#include <windows.h>

#include <cstdint>

#include "shell/shell_api.h"

namespace zembrit {

// A copy of the shell's style as it was at the last reload.
struct StyleValues {
    alignas(4) unsigned char styleRecord[kStyleRecordSize] = {};
    int32_t innerMargin = 0;
    int32_t borderWidth = 0;
    COLORREF borderColor = 0;
    COLORREF scopeColor = RGB(255, 255, 255);
};

const StyleValues& style();

void reloadStyle();
// Preset 1 to 4 chooses which style key colours the trace; others are ignored.
void applyStylePreset(int preset);

// The colour at byte 16 of the style record, which fills the corner tab.
COLORREF styleFillColor();

}  // namespace zembrit
