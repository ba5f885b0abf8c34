// The shell's menus: named menus kept by identifier, rebuilt by each call,
// shown as real popup menus whose items broadcast their command strings.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/shell.h"
#include "shell/shell_api.h"

// The shell's own menu type, opaque to plugins.
struct ShellMenu {
    struct Item {
        enum Kind { Command, Integer, Separator, Submenu } kind;
        std::string label;
        std::string command;
        bool checked = false;
        int value = 0, minimum = 0, maximum = 0;
        ShellMenu* child = nullptr;
    };
    std::string title;
    std::string identifier;
    bool popup = false;
    std::vector<Item> items;
};

namespace standin {
namespace {

using Item = ShellMenu::Item;

std::map<std::string, std::unique_ptr<ShellMenu>> menusByIdentifier;
constexpr int kIntegerChoices = 16;

void dump(const ShellMenu& menu, int depth, std::string& out) {
    std::string indent(depth * 2, ' ');
    out += indent + "[" + menu.title + "] " + menu.identifier + "\n";
    for (const Item& item : menu.items) {
        switch (item.kind) {
        case Item::Command:
            out += indent + "  " + (item.checked ? "(x) " : "( ) ") + item.label + " -> " + item.command + "\n";
            break;
        case Item::Integer:
            out += indent + "  (#) " + item.label + " -> " + item.command + " = " + std::to_string(item.value) + " [" +
                   std::to_string(item.minimum) + ".." + std::to_string(item.maximum) + "]\n";
            break;
        case Item::Separator: out += indent + "  ---\n"; break;
        case Item::Submenu:
            out += indent + "  >> " + item.label + "\n";
            if (item.child) dump(*item.child, depth + 2, out);
            break;
        }
    }
}

// Each pickable entry of the shown menu, by the identifier Windows returns.
std::vector<std::string> pickable;

UINT addPickable(const std::string& command) {
    pickable.push_back(command);
    return static_cast<UINT>(pickable.size());
}

void addIntegerChoices(HMENU parent, const Item& item) {
    HMENU choices = CreatePopupMenu();
    int span = item.maximum - item.minimum;
    for (int i = 0; i <= kIntegerChoices; ++i) {
        int value = item.minimum + static_cast<int>(static_cast<long long>(span) * i / kIntegerChoices);
        UINT flags = MF_STRING | (value == item.value ? MF_CHECKED : 0);
        AppendMenuA(choices, flags, addPickable(item.command + " " + std::to_string(value)),
                    std::to_string(value).c_str());
    }
    std::string label = item.label + " (" + std::to_string(item.value) + ")";
    AppendMenuA(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(choices), label.c_str());
}

HMENU realize(const ShellMenu& menu) {
    HMENU handle = CreatePopupMenu();
    for (const Item& item : menu.items) {
        switch (item.kind) {
        case Item::Command:
            AppendMenuA(handle, MF_STRING | (item.checked ? MF_CHECKED : 0), addPickable(item.command),
                        item.label.c_str());
            break;
        case Item::Integer: addIntegerChoices(handle, item); break;
        case Item::Separator: AppendMenuA(handle, MF_SEPARATOR, 0, nullptr); break;
        case Item::Submenu:
            if (item.child)
                AppendMenuA(handle, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(realize(*item.child)),
                            item.label.c_str());
            break;
        }
    }
    return handle;
}

void popUp(const ShellMenu& menu) {
    pickable.clear();
    HMENU handle = realize(menu);
    POINT cursor;
    GetCursorPos(&cursor);
    HWND owner = shellMainWindow();
    SetForegroundWindow(owner);
    UINT picked =
        TrackPopupMenu(handle, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, cursor.x, cursor.y, 0, owner, nullptr);
    DestroyMenu(handle);
    if (picked > 0 && picked <= pickable.size()) postBroadcast(pickable[picked - 1]);
}

void append(ShellMenu* menu, Item item) {
    if (menu) menu->items.push_back(std::move(item));
}

}  // namespace
}  // namespace standin

using namespace standin;

extern "C" {

__declspec(dllexport) ShellMenuHandle MakeNamedMenu(const char* title, const char* identifier, bool popup) {
    std::string key = identifier ? identifier : "";
    auto& menu = menusByIdentifier[key];
    if (!menu) menu = std::make_unique<ShellMenu>();
    menu->title = title ? title : "";
    menu->identifier = key;
    menu->popup = popup;
    menu->items.clear();
    shellRecord.menuCalls.push_back(menu->title + "|" + key + "|" + (popup ? "popup" : "refresh"));
    return menu.get();
}

__declspec(dllexport) void MakeMenuItem(ShellMenuHandle menu, const char* label, const char* command, bool checked) {
    append(menu, {Item::Command, label ? label : "", command ? command : "", checked});
}

__declspec(dllexport) void MakeMenuItemInt(ShellMenuHandle menu, const char* label, const char* command, int value,
                                           int minimum, int maximum) {
    append(menu, {Item::Integer, label ? label : "", command ? command : "", false, value, minimum, maximum});
}

__declspec(dllexport) void MakeMenuNOP(ShellMenuHandle menu, const char*) { append(menu, {Item::Separator, "", ""}); }

__declspec(dllexport) void MakeSubmenu(ShellMenuHandle parent, ShellMenuHandle child, const char* title) {
    append(parent, {Item::Submenu, title ? title : "", "", false, 0, 0, 0, child});
}

// A refresh only updates the kept tree: a popup menu that is open is the
// one being tracked, and a pick closes it before any command runs.
__declspec(dllexport) void ShowMenu(ShellMenuHandle menu) {
    if (!menu) return;
    shellRecord.menuDump.clear();
    dump(*menu, 0, shellRecord.menuDump);
    if (!menu->popup) {
        ++shellRecord.menuRefreshes;
        return;
    }
    ++shellRecord.menuShows;
    if (shellOptions.interactive) popUp(*menu);
}

}  // extern "C"
