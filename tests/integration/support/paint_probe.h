#pragma once
// What the plugin copies onto windows and whether it ever reads one back,
// seen at its drawing imports.
#include <windows.h>

namespace zembrit_test {

struct PaintLedger {
    int copiesOntoWindow = 0;  // BitBlt calls whose destination is a window's DC
    int windowReads = 0;       // BitBlt calls whose source is a window's DC
    HDC lastSource = nullptr;  // the source of the last copy onto a window
};
extern PaintLedger paintLedger;

// Watches the plugin's BitBlt, the one function through which it reads a
// DC's pixels (tests/check-dll-tables.sh checks there is no other), from now
// on; false, with a test failure, when the plugin does not import it.
bool watchWindowCopies(HMODULE plugin);

// Rows of the scope window that show the trace's colour (toolbar.textColor
// of the bench's style): 1 for a flat line.
int traceRows(HWND window);

}  // namespace zembrit_test
