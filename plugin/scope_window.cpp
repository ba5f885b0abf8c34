// The plugin's window class, and the scope window made from it.
#include "plugin/scope_window.h"

#include <optional>

#include "plugin/window_procedure.h"
#include "scope/late_system.h"
#include "scope/window_state.h"
#include "settings/settings_store.h"
#include "shell/plugin_identity.h"

namespace zembrit {

namespace {

HWND created = nullptr;

}  // namespace

bool registerScopeWindowClass(HINSTANCE module) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = scopeWindowProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClassName;
    return RegisterClassA(&windowClass) != 0;
}

void unregisterScopeWindowClass(HINSTANCE module) { UnregisterClassA(kWindowClassName, module); }

// A floating window is crisp on every monitor; a docked one is made as the
// shell makes its own, as the dock that holds it. Its place and size at the
// window's scale come at WM_CREATE, once its DPI is known.
bool createScopeWindow(HINSTANCE module) {
    std::optional<PerMonitorAwareThread> aware;
    if (!docked()) aware.emplace();
    DWORD extendedStyle = WS_EX_TOOLWINDOW | (layeringSupported() ? WS_EX_LAYERED : 0);
    DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    created = CreateWindowExA(extendedStyle, kWindowClassName, nullptr, style, settings().x, settings().y,
                              settings().width, settings().height, nullptr, nullptr, module, nullptr);
    return created != nullptr;
}

// A window destroyed with the dock that held it may have left its handle to
// a window of another class since: only one of ours is destroyed.
void destroyScopeWindow() {
    char className[sizeof kWindowClassName + 1] = "";
    if (created && GetClassNameA(created, className, sizeof className) && lstrcmpA(className, kWindowClassName) == 0)
        DestroyWindow(created);
    created = nullptr;
}

}  // namespace zembrit
