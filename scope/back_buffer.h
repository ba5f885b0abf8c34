#pragma once
#include <windows.h>

namespace zembrit {

void rebuildBackBuffer();
void releaseBackBuffer();
// WM_SIZING: the proposed window rectangle, in screen coordinates.
void onSizing(const RECT& proposed);

}  // namespace zembrit
