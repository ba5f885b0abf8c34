// The plugin's window class, and the scope window made from it.
#include "plugin/scope_window.h"

#include "plugin/window_procedure.h"
#include "scope/window_state.h"
#include "settings/settings_store.h"
#include "shell/plugin_identity.h"

namespace zembrit {

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

bool createScopeWindow(HINSTANCE module) {
    DWORD extendedStyle = WS_EX_TOOLWINDOW | (layeringSupported() ? WS_EX_LAYERED : 0);
    DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CreateWindowExA(extendedStyle, kWindowClassName, nullptr, style, settings().x, settings().y,
                           settings().width, settings().height, nullptr, nullptr, module, nullptr) != nullptr;
}

}  // namespace zembrit
