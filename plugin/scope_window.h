#pragma once
#include <windows.h>

namespace zembrit {

bool registerScopeWindowClass(HINSTANCE module);
void unregisterScopeWindowClass(HINSTANCE module);
// Creates the scope window at the stored place; false when the platform refused.
bool createScopeWindow(HINSTANCE module);
// Destroys the window creation made, by the handle it returned, whatever
// messages the window was sent meanwhile; nothing when it is gone already.
void destroyScopeWindow();

}  // namespace zembrit
