#pragma once
#include <windows.h>

namespace zembrit {

// The shell's windows the commands talk to, given by the plugin at start-up:
// the shell's own window (toolbar labels, registration) and its dock.
HWND shellWindow();
void setShellWindow(HWND shell);
// Null for a plugin started outside any dock.
HWND dockWindow();
void setDockWindow(HWND dock);

}  // namespace zembrit
