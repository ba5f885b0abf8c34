#pragma once
#include "settings/scope_settings.h"

namespace zembrit {

extern ScopeSettings settings;
// The configuration file every read and write goes to, found by readSettings.
extern char configPath[kConfigPathCapacity];

// Finds the configuration file, then refills every field from it.
void readSettings();

// Write-back, one key at a time, at the moment a value changes; the key
// chooses the shell function that writes it.
void store(BoolKey key, bool value);
void store(IntKey key, int32_t value);
void store(TextKey key, const char* value);

}  // namespace zembrit
