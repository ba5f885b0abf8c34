#include "commands/docking.h"

#include <windows.h>

#include "commands/report_toggle.h"
#include "scope/scope_dpi.h"
#include "scope/window_state.h"
#include "settings/keys.h"
#include "settings/settings_store.h"
#include "shell/shell_api.h"

namespace zembrit {

// The dock is told first and the flag cleared afterwards: moves made while
// inSlit is still set are not recorded, so the floating place survives.
void undock() {
    SendMessageA(dockWindow(), SLIT_REMOVE, 0, reinterpret_cast<LPARAM>(scopeWindow()));
    SetWindowPos(scopeWindow(), nullptr, shownOnScope(settings().x), shownOnScope(settings().y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    setWithoutStoring(keys::inSlit, false);
}

namespace {

void leaveDock() {
    undock();
    applyWindowState();
}

// The flag goes first, so every placement the dock makes is left unrecorded.
void enterDock() {
    setWithoutStoring(keys::inSlit, true);
    applyWindowState();
    SendMessageA(dockWindow(), SLIT_ADD, 0, reinterpret_cast<LPARAM>(scopeWindow()));
}

}  // namespace

// Without a dock nothing holds the scope: a stored docked state is only
// cleared, and nothing can set it.
void toggleDocking(const char* word) {
    if (docked())
        leaveDock();
    else if (dockWindow())
        enterDock();
    else
        setWithoutStoring(keys::inSlit, false);
    reportToggle(keys::inSlit, word, false);
}

}  // namespace zembrit
