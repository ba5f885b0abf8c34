#include "commands/report_toggle.h"

#include <windows.h>

#include <cstdio>

#include "commands/scope_menu.h"
#include "commands/shell_windows.h"
#include "scope/window_state.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "shell/shell_api.h"

namespace zembrit {

namespace {

// The longest command word leaves the label well inside this.
constexpr int kToolbarLabelCapacity = 80;

}  // namespace

void reportToggle(BoolKey key, const char* word, bool flip) {
    const bool flag = flagOf(settings(), key) != flip;
    char label[kToolbarLabelCapacity];
    std::snprintf(label, sizeof label, "ZembritPlugin -> %s %sabled!", word, flag ? "en" : "dis");
    SendMessageA(shellWindow(), HM_SETTOOLBARLABEL, 0, reinterpret_cast<LPARAM>(label));
    set(key, flag);
    applyWindowState();
    showScopeMenu(false);
}

}  // namespace zembrit
