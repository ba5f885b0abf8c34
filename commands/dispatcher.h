#pragma once

namespace zembrit {

void handleReconfigure();
void handleBroadcast(const char* command);

}  // namespace zembrit
