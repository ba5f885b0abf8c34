#pragma once

namespace zembrit {

bool registerScopeWindowClass();
void unregisterScopeWindowClass();
// Creates `scopeWindow` at the stored place; false when the platform refused.
bool createScopeWindow();

}  // namespace zembrit
