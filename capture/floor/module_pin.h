#pragma once

namespace zembrit {

// Pins this module for the life of the process. Called when a thread or a
// device callback that runs its code may outlive the wait for it: neither
// may ever run in an unloaded module.
void keepModuleLoaded();

}  // namespace zembrit
