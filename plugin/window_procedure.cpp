// Every message the scope window answers, one handler each, side by side;
// each hands the work to the layer that owns it.
#include "plugin/window_procedure.h"

#include "commands/capture_control.h"
#include "commands/dispatcher.h"
#include "commands/scope_menu.h"
#include "commands/shell_windows.h"
#include "scope/back_buffer.h"
#include "scope/renderer.h"
#include "scope/scope_dpi.h"
#include "scope/window_state.h"
#include "shell/shell_api.h"

namespace zembrit {
namespace {

void registerWithShell(UINT message, HWND window) {
    SendMessageA(shellWindow(), message, reinterpret_cast<WPARAM>(window),
                 reinterpret_cast<LPARAM>(kRegisteredMessages));
}

void OnCreate(HWND window) {
    setScopeWindow(window);
    takeScopeDpi();
    registerWithShell(HM_REGISTER, window);
    shellApi.MakeSticky(window);
    rebuildBackBuffer();
    applyWindowState();
}

// Torn down at the last message a window is sent, not at WM_DESTROY: anyone
// may send a WM_DESTROY (another program, the shell) to a window that then
// lives on. Once only, and only for the scope's own window.
void OnNcDestroy(HWND window) {
    if (window != scopeWindow()) return;
    stopCaptureForClosingWindowShowingFailures();
    shellApi.RemoveSticky(window);
    releaseBackBuffer();
    registerWithShell(HM_UNREGISTER, window);
    setScopeWindow(nullptr);
}

void OnPaint(HWND window) { paintScope(window); }

void OnSizing(const RECT& proposed) { followProposedSize(proposed); }

void OnGetMinMaxInfo(MINMAXINFO& limits) { setMinimumTrackSize(limits); }

void OnWindowPosChanging(WINDOWPOS& pending) { snapToEdges(pending); }

// In both modes: the dock may resize the window too.
void OnWindowPosChanged(const WINDOWPOS& done) {
    if (followUnannouncedDpiChange()) return;  // placed again at the new scale
    recordPlacement(done);
    followClientSize();
}

void OnSize() { followClientSize(); }

void OnDpiChanged(WPARAM dpi, const RECT& suggested) { followDpiChange(LOWORD(dpi), suggested); }

LRESULT OnNcHitTest() { return hitTestAnswer(); }

void OnNcLButtonDown() { startMoveOrSize(); }

void OnContextMenu() { showScopeMenu(true); }

void OnReconfigure() { handleReconfigure(); }

void OnBroadcast(const char* command) { handleBroadcast(command); }

}  // namespace

LRESULT CALLBACK scopeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_DESTROY: return 0;  // the window's end is torn down at WM_NCDESTROY
    case WM_NCDESTROY: OnNcDestroy(window); return DefWindowProcA(window, message, wParam, lParam);
    case WM_PAINT: OnPaint(window); return 0;
    case WM_SIZING: OnSizing(*reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_CLOSE: return 0;  // only shut-down closes the scope
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam)); return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_DPICHANGED: OnDpiChanged(wParam, *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_NCHITTEST: return OnNcHitTest();
    case WM_NCLBUTTONDOWN: OnNcLButtonDown(); return 0;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP: OnContextMenu(); return 0;
    case HM_RECONFIGURE: OnReconfigure(); return 0;
    case HM_BROADCAST: OnBroadcast(reinterpret_cast<const char*>(lParam)); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace zembrit
