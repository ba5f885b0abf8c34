#pragma once
#include <windows.h>

namespace zembrit {

// The scope window's procedure: one handler per message it answers.
LRESULT CALLBACK scopeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace zembrit
