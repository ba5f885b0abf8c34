#pragma once
// What the stand-in shell recorded, read the same way by every test file,
// and the import patch every fault and spy test uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/import_patch.h"
#include "host/shell.h"

namespace zembrit_test {

// The texts of the boxes shown so far, in order.
std::vector<std::string> boxTexts();

// The mark the last shown menu gives the item carrying command: 'x' marked,
// ' ' not marked, '#' an integer item, '?' no such item.
char markOf(const std::string& command);

// Forgets what the shell recorded but the registrations, which are how it
// reaches the plugin: a long run's record would otherwise grow the test's
// own memory with every cycle.
void forgetShellRecord();

// The window the plugin registered with the shell; unlike a search by class
// it also finds a docked (child) window.
HWND registeredWindow();

// Points the plugin's import of dll!name at replacement, keeping the real
// function in original; fails the test when the plugin does not import it.
template <class F>
void patch(HMODULE module, const char* dll, const char* name, F replacement, F& original) {
    original = reinterpret_cast<F>(standin::patchImport(module, dll, name, reinterpret_cast<void*>(replacement)));
    ASSERT_NE(original, nullptr) << name;
}

}  // namespace zembrit_test
