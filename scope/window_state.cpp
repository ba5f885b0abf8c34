// How the scope sits on the desktop and how the user handles it.
#include "scope/window_state.h"

#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "scope/color_key.h"
#include "settings/keys.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "settings/virtual_screen.h"

namespace zembrit {

bool pluginsHidden = false;

namespace {

constexpr int kSnapDistance = 10;
constexpr int kSnapFlag = 1;
constexpr LONG kMinTrackSize = 5;
// The platform's size and move commands with the bottom-right corner and
// caption hit codes folded in, as the system menu would post them.
constexpr WPARAM kSizeFromBottomRight = 0xF008;
constexpr WPARAM kMoveByCaption = 0xF012;

BYTE windowAlpha() {
    return settings.transparencyEnabled ? static_cast<BYTE>(settings.transparencyAlpha & 0xFF) : 255;
}

void applyLayering() {
    const LONG_PTR extended = GetWindowLongPtrA(scopeWindow, GWL_EXSTYLE);
    if (settings.inSlit) {
        SetWindowLongPtrA(scopeWindow, GWL_EXSTYLE, extended & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        return;
    }
    SetWindowLongPtrA(scopeWindow, GWL_EXSTYLE, extended | WS_EX_LAYERED);
    SetLayeredWindowAttributes(scopeWindow, colorKey, windowAlpha(), LWA_COLORKEY | LWA_ALPHA);
}

}  // namespace

void applyWindowState() {
    if (pluginsHidden && settings.toggleWithPlugins) {
        ShowWindow(scopeWindow, SW_HIDE);
        return;
    }
    if (layeringSupported) applyLayering();
    SetWindowPos(scopeWindow, settings.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, settings.x, settings.y,
                 settings.width, settings.height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(scopeWindow, nullptr, FALSE);
}

LRESULT hitTest() { return settings.inSlit ? HTCLIENT : HTCAPTION; }

// Posted, not sent: the platform's move or size loop starts once this
// handler has returned.
void onNonClientLeftButtonDown() {
    const bool altHeld = (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
    PostMessageA(scopeWindow, WM_SYSCOMMAND, altHeld ? kSizeFromBottomRight : kMoveByCaption, 0);
}

void onGetMinMaxInfo(MINMAXINFO& limits) { limits.ptMinTrackSize = POINT{kMinTrackSize, kMinTrackSize}; }

void onWindowPosChanging(WINDOWPOS& pending) {
    if (!settings.inSlit && settings.snapWindow && IsWindowVisible(scopeWindow))
        host.SnapWindowToEdge(&pending, kSnapDistance, kSnapFlag);
}

// Every notice counts, even one that only restacks or hides the window. The
// window keeps its size; a size raised to the minimum or cut to the virtual
// screen applies at the next applyWindowState.
void onWindowPosChanged(const WINDOWPOS& done) {
    if (settings.inSlit) return;
    settings.x = done.x;
    settings.y = done.y;
    settings.width = windowExtentWithin(done.cx, virtualScreen().width);
    settings.height = windowExtentWithin(done.cy, virtualScreen().height);
    store(keys::x, settings.x);
    store(keys::y, settings.y);
    store(keys::width, settings.width);
    store(keys::height, settings.height);
}

}  // namespace zembrit
