#pragma once
// What the plugin copies onto windows and whether it ever reads one back,
// seen at its drawing imports.
#include <windows.h>

#include <string>

namespace zembrit_test {

struct PaintLedger {
    int copiesOntoWindow = 0;  // BitBlt calls whose destination is a window's DC
    int windowReads = 0;       // BitBlt calls whose source is a window's DC
    HDC lastSource = nullptr;  // the source of the last copy onto a window
};
extern PaintLedger paintLedger;

// Watches the plugin's BitBlt from now on (again after a restart of the same
// module); false, with a test failure, when the plugin does not import it.
bool watchWindowCopies(HMODULE plugin);

// The functions besides BitBlt through which the plugin could read a DC's
// pixels, of those it imports, separated by spaces; empty when none.
std::string otherPixelReaders(HMODULE plugin);

}  // namespace zembrit_test
