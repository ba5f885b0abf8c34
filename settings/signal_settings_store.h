#pragma once
#include "settings/signal_settings.h"

namespace zembrit {

// Read and changed on the user-interface thread; a capture takes its options
// when it starts, so a change restarts it.
extern SignalSettings signalSettings;

// Refills signalSettings from the configuration file readSettings found.
void readSignalSettings();

}  // namespace zembrit
