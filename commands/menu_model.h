#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/scope_settings.h"

// The context menu as data: the exact sequence of shell menu calls, built
// from the settings, so the Win32 layer only replays it.
namespace zembrit {

// An endpoint the Device menu offers: its label as the shell's code page
// shows it, and its friendly name and identifier in UTF-8.
struct MenuDevice {
    MenuDevice(std::string plainName) : label(plainName), name(std::move(plainName)) {}
    MenuDevice(std::string shown, std::string utf8Name, std::string utf8Id)
        : label(std::move(shown)), name(std::move(utf8Name)), id(std::move(utf8Id)) {}
    std::string label, name, id;
};

// What the menu is built from: the settings, and what is not a setting.
struct MenuInput {
    const ScopeSettings& settings;
    bool capturing = false;
    // The active endpoints of the source's kind; none for wave-in.
    std::vector<MenuDevice> endpoints;
};

// One shell call each: MakeNamedMenu, MakeMenuItem, MakeMenuItemInt,
// MakeMenuNOP, MakeSubmenu, ShowMenu.
enum class MenuOpKind { NamedMenu, Item, IntItem, Separator, Submenu, Show };

// Menus are named by their index of creation: 0 main, 1 configuration, then
// each submenu in the order it is built.
struct MenuOp {
    MenuOpKind kind = MenuOpKind::Separator;
    int menu = 0;                                 // the menu created, added to or shown
    int child = -1;                               // Submenu: the menu attached under `label`
    std::string label;                            // NamedMenu: title; Item, IntItem, Submenu: label
    std::string command;                          // NamedMenu: identifier; Item, IntItem: command string
    bool checked = false;                         // Item
    int32_t value = 0, minimum = 0, maximum = 0;  // IntItem
};

std::vector<MenuOp> buildScopeMenu(const MenuInput& input);

// What the Device menu's item for endpoints[index] sends after "SetDevice ":
// the name where it alone names that endpoint and fits the stored key,
// else the identifier.
std::string deviceArgument(const std::vector<MenuDevice>& endpoints, size_t index);

}  // namespace zembrit
