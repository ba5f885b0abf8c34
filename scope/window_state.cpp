// How the scope sits on the desktop and how the user handles it.
#include "scope/window_state.h"

#include "scope/color_key.h"
#include "scope/layering_style.h"
#include "scope/scope_dpi.h"
#include "settings/keys.h"
#include "settings/settings_store.h"
#include "shell/shell_api.h"

namespace zembrit {

namespace {

HWND scopeHandle = nullptr;
HWND dockHandle = nullptr;
bool hiddenWithPlugins = false;

// Both in 96-DPI units, shown at the scope's scale.
constexpr int kSnapDistance = 10;
constexpr int kSnapFlag = 1;
constexpr LONG kMinTrackSize = 5;
// The platform's size and move commands with the bottom-right corner and
// caption hit codes folded in, as the system menu would post them.
constexpr WPARAM kSizeFromBottomRight = 0xF008;
constexpr WPARAM kMoveByCaption = 0xF012;

// The stored alpha is held within 0 to 255.
BYTE windowAlpha() { return settings().transparencyEnabled ? static_cast<BYTE>(settings().transparencyAlpha) : 255; }

static_assert(kLayeredStyle == WS_EX_LAYERED && kClickThroughStyle == WS_EX_TRANSPARENT);

void applyLayering() {
    const bool floating = !docked();
    const LONG_PTR extended = GetWindowLongPtrA(scopeHandle, GWL_EXSTYLE);
    SetWindowLongPtrA(scopeHandle, GWL_EXSTYLE, layeringStyle(extended, floating, settings().clickThrough));
    if (floating) SetLayeredWindowAttributes(scopeHandle, colorKey, windowAlpha(), LWA_COLORKEY | LWA_ALPHA);
}

}  // namespace

HWND scopeWindow() { return scopeHandle; }
void setScopeWindow(HWND created) { scopeHandle = created; }

HWND dockWindow() { return dockHandle; }
void setDockWindow(HWND dock) { dockHandle = dock; }
bool docked() { return settings().inSlit && dockHandle; }

bool isLayered() { return (GetWindowLongPtrA(scopeHandle, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

void setPluginsHidden(bool hidden) { hiddenWithPlugins = hidden; }

bool layeringSupported() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}

void applyWindowState() {
    if (hiddenWithPlugins && settings().toggleWithPlugins) {
        ShowWindow(scopeHandle, SW_HIDE);
        return;
    }
    if (layeringSupported()) applyLayering();
    SetWindowPos(scopeHandle, settings().alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, shownOnScope(settings().x),
                 shownOnScope(settings().y), shownOnScope(settings().width), shownOnScope(settings().height),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(scopeHandle, nullptr, FALSE);
}

LRESULT hitTestAnswer() { return docked() ? HTCLIENT : HTCAPTION; }

// Posted, not sent: the platform's move or size loop starts once this
// handler has returned. Only a press the system saw starts one: a message
// sent by another program, or with no button down, would have the window
// follow the pointer with no button held.
void startMoveOrSize() {
    if (!(GetKeyState(VK_LBUTTON) & 0x8000)) return;
    const bool altHeld = (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
    PostMessageA(scopeHandle, WM_SYSCOMMAND, altHeld ? kSizeFromBottomRight : kMoveByCaption, 0);
}

void setMinimumTrackSize(MINMAXINFO& limits) {
    const LONG smallest = lengthOnScope(kMinTrackSize);
    limits.ptMinTrackSize = POINT{smallest, smallest};
}

void snapToEdges(WINDOWPOS& pending) {
    if (!docked() && settings().snapWindow && IsWindowVisible(scopeHandle))
        shellApi.SnapWindowToEdge(&pending, lengthOnScope(kSnapDistance), kSnapFlag);
}

// Every notice counts, even one that only restacks or hides the window. The
// window keeps its size; a size raised to the minimum or cut to the virtual
// screen applies at the next applyWindowState.
void recordPlacement(const WINDOWPOS& done) {
    if (docked()) return;
    set(keys::x, storedFromScope(done.x));
    set(keys::y, storedFromScope(done.y));
    set(keys::width, storedFromScope(done.cx));
    set(keys::height, storedFromScope(done.cy));
}

}  // namespace zembrit
