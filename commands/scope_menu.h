#pragma once

namespace zembrit {

// Builds the whole context menu from the current settings; popup false
// refreshes a menu the shell has open.
void showScopeMenu(bool popup);

}  // namespace zembrit
