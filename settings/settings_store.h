#pragma once
#include "settings/scope_settings.h"

namespace zembrit {

extern ScopeSettings settings;
// The configuration file every read and write goes to, found by readSettings.
extern char configPath[kConfigPathCapacity];

// Finds the configuration file, then refills every field from it.
void readSettings();

// Write-back, one key at a time, at the moment a value changes.
void storeBool(const char* key, bool value);
void storeInt(const char* key, int32_t value);
void storeString(const char* key, const char* value);

}  // namespace zembrit
