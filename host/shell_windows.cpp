// The shell's windows: a toolbar that registers plugins, shows their label
// text and broadcasts commands to them, and a dock that holds docked ones.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/shell.h"
#include "shell/shell_api.h"

namespace standin {

ShellOptions shellOptions;
ShellRecord shellRecord;

namespace {

constexpr char kToolbarClass[] = "NorvaneStandInToolbar";
constexpr char kDockClass[] = "NorvaneStandInDock";
constexpr UINT kPostedBroadcast = WM_APP + 1;
constexpr int kDockPadding = 4;

HWND toolbar = nullptr;
HWND dock = nullptr;
std::vector<HWND> dockedWindows;

std::vector<UINT> messageList(LPARAM list) {
    std::vector<UINT> messages;
    for (auto* message = reinterpret_cast<const UINT*>(list); message && *message; ++message)
        messages.push_back(*message);
    return messages;
}

void registerPlugin(HWND window, LPARAM list) { shellRecord.registrations.push_back({window, messageList(list)}); }

void unregisterPlugin(HWND window, LPARAM list) {
    std::string entry = std::to_string(reinterpret_cast<uintptr_t>(window)) + ":";
    for (UINT message : messageList(list)) entry += std::to_string(message) + ",";
    shellRecord.unregistrations.push_back(entry);
    auto& all = shellRecord.registrations;
    all.erase(std::remove_if(all.begin(), all.end(), [&](const Registration& r) { return r.window == window; }),
              all.end());
}

void sendToRegistered(UINT message, LPARAM parameter) {
    // A copy: a plugin may register or unregister while handling the message.
    std::vector<Registration> registered = shellRecord.registrations;
    for (const Registration& entry : registered)
        if (std::find(entry.messages.begin(), entry.messages.end(), message) != entry.messages.end())
            SendMessageA(entry.window, message, 0, parameter);
}

void paintLabel(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(230, 230, 230));
    std::string label = shellRecord.toolbarLabels.empty() ? "Norvane stand-in" : shellRecord.toolbarLabels.back();
    InflateRect(&area, -6, 0);
    DrawTextA(dc, label.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    EndPaint(window, &paint);
}

LRESULT CALLBACK toolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case zembrit::HM_REGISTER: registerPlugin(reinterpret_cast<HWND>(wParam), lParam); return 0;
    case zembrit::HM_UNREGISTER: unregisterPlugin(reinterpret_cast<HWND>(wParam), lParam); return 0;
    case zembrit::HM_SETTOOLBARLABEL:
        shellRecord.toolbarLabels.emplace_back(lParam ? reinterpret_cast<const char*>(lParam) : "");
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case kPostedBroadcast: {
        auto* command = reinterpret_cast<std::string*>(lParam);
        broadcast(command->c_str());
        delete command;
        return 0;
    }
    case WM_PAINT: paintLabel(window); return 0;
    case WM_CLOSE: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void layOutDock() {
    int top = kDockPadding;
    for (HWND docked : dockedWindows) {
        RECT size;
        GetWindowRect(docked, &size);
        SetWindowPos(docked, nullptr, kDockPadding, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        top += size.bottom - size.top + kDockPadding;
    }
}

void dockAdd(HWND window) {
    shellRecord.dockEvents.push_back("add");
    if (!IsWindow(window)) return;
    SetWindowLongPtrA(window, GWL_STYLE, (GetWindowLongPtrA(window, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
    SetParent(window, dock);
    dockedWindows.push_back(window);
    layOutDock();
}

void dockRemove(HWND window) {
    shellRecord.dockEvents.push_back("remove");
    auto found = std::find(dockedWindows.begin(), dockedWindows.end(), window);
    if (found == dockedWindows.end()) return;
    dockedWindows.erase(found);
    SetParent(window, nullptr);
    SetWindowLongPtrA(window, GWL_STYLE, (GetWindowLongPtrA(window, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
    layOutDock();
}

LRESULT CALLBACK dockProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case zembrit::SLIT_ADD: dockAdd(reinterpret_cast<HWND>(lParam)); return 0;
    case zembrit::SLIT_REMOVE: dockRemove(reinterpret_cast<HWND>(lParam)); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool registerClass(const char* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool createShellWindows(bool withDock) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registerClass(kToolbarClass, toolbarProc, nullptr)) return false;
    toolbar = CreateWindowExA(WS_EX_TOOLWINDOW, kToolbarClass, "Norvane", WS_POPUP | WS_VISIBLE, 0, 994, 1280, 30,
                              nullptr, nullptr, instance, nullptr);
    if (!toolbar) return false;
    if (!withDock) return true;
    if (!registerClass(kDockClass, dockProc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)))) return false;
    dock = CreateWindowExA(WS_EX_TOOLWINDOW, kDockClass, "Dock", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 1100, 300,
                           180, 400, nullptr, nullptr, instance, nullptr);
    return dock != nullptr;
}

void destroyShellWindows() {
    if (dock) DestroyWindow(dock);
    if (toolbar) DestroyWindow(toolbar);
    dock = toolbar = nullptr;
    dockedWindows.clear();
}

HWND shellMainWindow() { return toolbar; }
HWND shellDockWindow() { return dock; }

void broadcast(const char* command) { sendToRegistered(zembrit::HM_BROADCAST, reinterpret_cast<LPARAM>(command)); }

void postBroadcast(const std::string& command) {
    PostMessageA(toolbar, kPostedBroadcast, 0, reinterpret_cast<LPARAM>(new std::string(command)));
}

void reconfigure() {
    loadStyle();
    sendToRegistered(zembrit::HM_RECONFIGURE, 0);
}

void pumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        // Sleep until a message arrives or the time is up: an idle shell
        // costs nothing, which keeps the plugin's own cost measurable.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

namespace {

int snapped(int start, int length, int low, int high, int distance) {
    if (std::abs(start - low) < distance) return low;
    if (std::abs(start + length - high) < distance) return high - length;
    return start;
}

}  // namespace

}  // namespace standin

using namespace standin;

extern "C" {

__declspec(dllexport) HWND GetNRWnd() { return toolbar; }

__declspec(dllexport) bool GetNorvanePath(char* buffer, int size) {
    if (!buffer || size <= 0) return false;
    lstrcpynA(buffer, shellOptions.shellDir.c_str(), size);
    return true;
}

__declspec(dllexport) bool GetNorvaneEditor(char* buffer) {
    if (!buffer) return false;
    lstrcpynA(buffer, shellOptions.editor.c_str(), MAX_PATH);
    return true;
}

__declspec(dllexport) HINSTANCE NRExecute(HWND owner, const char* verb, const char* program, const char* arguments,
                                          const char* directory, int showCommand, bool) {
    shellRecord.executed.push_back(std::string(program ? program : "") + "|" + (arguments ? arguments : ""));
    if (!shellOptions.interactive) return nullptr;
    return ShellExecuteA(owner, verb, program, arguments, directory, showCommand);
}

__declspec(dllexport) void MakeSticky(HWND window) { shellRecord.stickyWindows.push_back(window); }

__declspec(dllexport) void RemoveSticky(HWND window) {
    auto& sticky = shellRecord.stickyWindows;
    sticky.erase(std::remove(sticky.begin(), sticky.end(), window), sticky.end());
}

// Snaps an edge lying closer than `distance` to the work area's edge; a
// window exactly `distance` away stays where it is.
__declspec(dllexport) void SnapWindowToEdge(WINDOWPOS* pending, int distance, int) {
    ++shellRecord.snapRequests;
    if (!pending || (pending->flags & SWP_NOMOVE)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(pending->hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    SIZE size{pending->cx, pending->cy};
    RECT current;
    if ((pending->flags & SWP_NOSIZE) && GetWindowRect(pending->hwnd, &current))
        size = {current.right - current.left, current.bottom - current.top};
    pending->x = snapped(pending->x, size.cx, monitor.rcWork.left, monitor.rcWork.right, distance);
    pending->y = snapped(pending->y, size.cy, monitor.rcWork.top, monitor.rcWork.bottom, distance);
}

}  // extern "C"
