#pragma once
#include <windows.h>

namespace zembrit {

// The shell's window the commands talk to (toolbar labels, registration),
// given by the plugin at start-up. The dock is the scope's (window_state.h).
HWND shellWindow();
void setShellWindow(HWND shell);

}  // namespace zembrit
