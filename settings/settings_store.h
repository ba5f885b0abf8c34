#pragma once
#include "settings/scope_settings.h"

namespace zembrit {

// The values in use; every layer that changes one writes it back with store.
ScopeSettings& settings();
// The configuration file every read and write goes to, found by readSettings.
const char* configPath();

// Finds the configuration file, then refills every field from it.
void readSettings();

// Write-back, one key at a time, at the moment a value changes; the key
// chooses the shell function that writes it.
void store(BoolKey key, bool value);
void store(IntKey key, int32_t value);
void store(TextKey key, const char* value);

}  // namespace zembrit
