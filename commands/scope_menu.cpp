// The context menu, replayed call by call from the menu model through the
// shell's menu functions.
#include "commands/scope_menu.h"

#include "capture/capture.h"
#include "capture/known_endpoints.h"
#include "commands/menu_model.h"
#include "settings/settings_store.h"
#include "shell/shell_api.h"

namespace zembrit {

namespace {

// Main, configuration and up to fourteen submenus.
constexpr int kScopeMenuCount = 16;
// A listing answers in milliseconds; a stalled audio service holds a new
// menu no longer than this, which then shows what was listed before.
constexpr DWORD kListingWaitMs = 500;

using MenuHandles = ShellMenuHandle[kScopeMenuCount];

ShellMenuHandle menuAt(const MenuHandles& menus, int index) {
    return index >= 0 && index < kScopeMenuCount ? menus[index] : nullptr;
}

void replay(const MenuOp& op, MenuHandles& menus, bool popup) {
    ShellMenuHandle menu = menuAt(menus, op.menu);
    switch (op.kind) {
    case MenuOpKind::NamedMenu:
        if (op.menu >= 0 && op.menu < kScopeMenuCount)
            menus[op.menu] = shellApi.MakeNamedMenu(op.label.c_str(), op.command.c_str(), popup);
        return;
    case MenuOpKind::Item: return shellApi.MakeMenuItem(menu, op.label.c_str(), op.command.c_str(), op.checked);
    case MenuOpKind::IntItem:
        return shellApi.MakeMenuItemInt(menu, op.label.c_str(), op.command.c_str(), op.value, op.minimum, op.maximum);
    case MenuOpKind::Separator: return shellApi.MakeMenuNOP(menu, nullptr);
    case MenuOpKind::Submenu: return shellApi.MakeSubmenu(menu, menuAt(menus, op.child), op.label.c_str());
    case MenuOpKind::Show: return shellApi.ShowMenu(menu);
    }
}

std::string narrow(const std::wstring& text, UINT codePage) {
    const int length = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string narrowed(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, narrowed.data(), length, nullptr, nullptr);
    narrowed.pop_back();
    return narrowed;
}

// The shell's menus show single-byte text: the label is as near as its code
// page comes, and the command carries the name exactly, as UTF-8.
std::vector<MenuDevice> menuDevices(bool render) {
    std::vector<MenuDevice> devices;
    for (const KnownEndpoint& endpoint : knownEndpoints(render))
        devices.emplace_back(narrow(endpoint.name, CP_ACP), narrow(endpoint.name, CP_UTF8),
                             narrow(endpoint.id, CP_UTF8));
    return devices;
}

}  // namespace

// Never asks the audio system itself: a new menu has the control thread list
// the endpoints first, a refresh shows those last listed.
void showScopeMenu(bool popup) {
    MenuHandles menus = {};
    MenuInput input{settings(), isCapturing(), {}};
    const CaptureSource source = settings().source;
    const bool render = source == CaptureSource::output;
    if (source != CaptureSource::wavein) {
        if (popup) relistEndpoints(render, kListingWaitMs);
        input.endpoints = menuDevices(render);
    }
    for (const MenuOp& op : buildScopeMenu(input)) replay(op, menus, popup);
}

}  // namespace zembrit
