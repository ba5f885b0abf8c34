#include "commands/scope_menu.h"

namespace zembrit {

void showScopeMenu(bool) {}

}  // namespace zembrit
