#pragma once
#include <windows.h>

namespace zembrit {

// Validates `window` whatever it is; draws only when it is the scope's.
void paintScope(HWND window);

}  // namespace zembrit
