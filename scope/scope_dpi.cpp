#include "scope/scope_dpi.h"

#include "scope/back_buffer.h"
#include "scope/dpi_scale.h"
#include "scope/late_system.h"
#include "scope/window_state.h"
#include "settings/settings_store.h"

namespace zembrit {

namespace {

// The DPI lengths are shown at, and the last answer of the system for the
// window. They differ only after a WM_DPICHANGED the system did not follow
// with its answer; the check for unannounced changes compares answers only,
// so it never undoes the message.
uint32_t shownDpi = kBaseDpi;
uint32_t answeredDpi = kBaseDpi;

// Docked, the window is the dock's child: its top-level ancestor is the
// dock's window, whose scale the shell chose.
uint32_t systemAnswer() { return windowDpi(GetAncestor(scopeWindow(), GA_ROOT)); }

void rebuildAtNewScale() {
    rebuildBackBuffer();
    InvalidateRect(scopeWindow(), nullptr, FALSE);
}

}  // namespace

uint32_t scopeDpi() { return shownDpi; }

void takeScopeDpi() { shownDpi = answeredDpi = systemAnswer(); }

// The rectangle is applied as it comes: a different size would send the
// window to another monitor's DPI and back. Pens are made at every paint,
// at the scale then in force.
void followDpiChange(uint32_t dpi, const RECT& suggested) {
    shownDpi = dpi;
    answeredDpi = systemAnswer();
    if (!docked())
        SetWindowPos(scopeWindow(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    rebuildAtNewScale();
}

// Notices before WM_CREATE or after WM_DESTROY have no window to ask about.
bool followUnannouncedDpiChange() {
    if (!scopeWindow()) return false;
    const uint32_t answer = systemAnswer();
    if (answer == answeredDpi) return false;
    shownDpi = answeredDpi = answer;
    applyWindowState();
    rebuildAtNewScale();
    return true;
}

int32_t shownOnScope(int32_t stored) { return shownFromStored(stored, shownDpi); }
int32_t lengthOnScope(int32_t stored) { return shownLength(stored, shownDpi); }
int32_t storedFromScope(int32_t shown) { return storedFromShown(shown, shownDpi); }

}  // namespace zembrit
