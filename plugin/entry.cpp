// The shell enters here: start-up in a fixed order, and shut-down in reverse.
#include <cstdio>

#include "capture/capture.h"
#include "commands/capture_control.h"
#include "commands/docking.h"
#include "commands/message_box.h"
#include "commands/shell_windows.h"
#include "plugin/scope_window.h"
#include "scope/window_state.h"
#include "settings/settings_store.h"
#include "settings/style.h"
#include "shell/shell_api.h"

namespace zembrit {

namespace {

// The module the shell started, kept until shut-down unregisters its class.
HINSTANCE moduleInstance = nullptr;

// A shell without one of our functions must never be called through an
// empty pointer: say which one is missing and refuse to start.
bool bindShell() {
    const char* missing = bindShellApi();
    if (!missing) return true;
    char text[160];
    std::snprintf(text, sizeof text, "The shell does not provide the function \"%s\"; Zembrit cannot start.", missing);
    showError(text);
    return false;
}

int startPlugin(HINSTANCE instance) {
    resetCaptureState();
    if (!bindShell()) return 1;
    setShellWindow(shellApi.GetNRWnd());
    moduleInstance = instance;
    if (!registerScopeWindowClass(instance)) {
        showError("Error registering window class", shellWindow());
        return 1;
    }
    readSettings();
    reloadStyle();
    if (!createScopeWindow(instance)) {
        // A class left registered after a failed start would keep every
        // later start in this shell session from registering it again.
        unregisterScopeWindowClass(instance);
        showError("Error creating window");
        return 1;
    }
    if (settings().startWaveMonitorOnStartUp) startCaptureShowingFailures(scopeWindow());
    return 0;
}

int startDockable(HINSTANCE instance, HWND dock) {
    setDockWindow(dock);
    int result = startPlugin(instance);
    if (docked() && scopeWindow()) SendMessageA(dockWindow(), SLIT_ADD, 0, reinterpret_cast<LPARAM>(scopeWindow()));
    return result;
}

}  // namespace
}  // namespace zembrit

using namespace zembrit;

int beginPlugin(HINSTANCE instance) { return startPlugin(instance); }

int beginSlitPlugin(HINSTANCE instance, HWND dock) { return startDockable(instance, dock); }

int beginPluginEx(HINSTANCE instance, HWND dock) { return startDockable(instance, dock); }

void endPlugin(HINSTANCE) {
    endCaptureShowingFailures();
    // The window may be gone already, destroyed with the dock that held it;
    // the class goes all the same, or the next start could not register it.
    if (scopeWindow() && docked()) undock();
    destroyScopeWindow();
    unregisterScopeWindowClass(moduleInstance);
}
