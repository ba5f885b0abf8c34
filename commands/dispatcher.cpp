#include "commands/dispatcher.h"

namespace zembrit {

void handleReconfigure() {}
void handleBroadcast(const char*) {}

}  // namespace zembrit
