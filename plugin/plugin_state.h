#pragma once
#include <windows.h>

namespace zembrit {

// Handles that live from start-up to shut-down.
extern HINSTANCE moduleInstance;
extern HWND hostWindow;
extern HWND scopeWindow;
extern HWND dockWindow;
extern bool layeringSupported;

}  // namespace zembrit
