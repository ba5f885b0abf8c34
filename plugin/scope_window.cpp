// The plugin's window class and the table that hands each message to its owner.
#include "plugin/scope_window.h"

#include "capture/capture.h"
#include "commands/dispatcher.h"
#include "commands/scope_menu.h"
#include "plugin/host_api.h"
#include "plugin/identity.h"
#include "plugin/plugin_state.h"
#include "scope/back_buffer.h"
#include "scope/renderer.h"
#include "scope/window_state.h"
#include "settings/settings_store.h"

namespace zembrit {
namespace {

void registerWithShell(UINT message, HWND window) {
    SendMessageA(hostWindow, message, reinterpret_cast<WPARAM>(window),
                 reinterpret_cast<LPARAM>(kRegisteredMessages));
}

void onCreate(HWND window) {
    scopeWindow = window;
    registerWithShell(HM_REGISTER, window);
    host.MakeSticky(window);
    rebuildBackBuffer();
    applyWindowState();
}

void onDestroy(HWND window) {
    stopCaptureForClosingWindow();
    host.RemoveSticky(window);
    releaseBackBuffer();
    registerWithShell(HM_UNREGISTER, window);
    scopeWindow = nullptr;
}

LRESULT CALLBACK scopeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: onCreate(window); return 0;
        case WM_DESTROY: onDestroy(window); return 0;
        case WM_PAINT: paintScope(); return 0;
        case WM_SIZING: onSizing(*reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_CLOSE: return 0;  // only shut-down closes the scope
        case WM_GETMINMAXINFO: onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
        case WM_WINDOWPOSCHANGING: onWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
        case WM_WINDOWPOSCHANGED:
            onWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
            followClientSize();  // in both modes: the dock may resize the window too
            return 0;
        case WM_SIZE: followClientSize(); return 0;
        case WM_NCHITTEST: return hitTest();
        case WM_NCLBUTTONDOWN: onNonClientLeftButtonDown(); return 0;
        case WM_RBUTTONUP:
        case WM_NCRBUTTONUP: showScopeMenu(true); return 0;
        case HM_RECONFIGURE: handleReconfigure(); return 0;
        case HM_BROADCAST: handleBroadcast(reinterpret_cast<const char*>(lParam)); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool registerScopeWindowClass() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = scopeWindowProc;
    windowClass.hInstance = moduleInstance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClassName;
    return RegisterClassA(&windowClass) != 0;
}

void unregisterScopeWindowClass() { UnregisterClassA(kWindowClassName, moduleInstance); }

bool createScopeWindow() {
    DWORD extendedStyle = WS_EX_TOOLWINDOW | (layeringSupported ? WS_EX_LAYERED : 0);
    DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CreateWindowExA(extendedStyle, kWindowClassName, nullptr, style, settings.x, settings.y,
                           settings.width, settings.height, nullptr, nullptr, moduleInstance,
                           nullptr) != nullptr;
}

}  // namespace zembrit
