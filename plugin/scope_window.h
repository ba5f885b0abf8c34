#pragma once
#include <windows.h>

namespace zembrit {

bool registerScopeWindowClass(HINSTANCE module);
void unregisterScopeWindowClass(HINSTANCE module);
// Creates the scope window at the stored place; false when the platform refused.
bool createScopeWindow(HINSTANCE module);

}  // namespace zembrit
