#pragma once
#include "settings/scope_settings.h"

namespace zembrit {

// The values in use, changed only through set.
const ScopeSettings& settings();
// The configuration file every read and write goes to, found by readSettings.
const char* configPath();

// Finds the configuration file, then refills every field from it.
void readSettings();

// One value changed, at the moment it changes: it goes through the key's
// rule into the record, and the file gets what it must hold for it. The key
// chooses the shell function that writes it.
void set(BoolKey key, bool value);
void set(IntKey key, int32_t value);
void set(TextKey key, const char* value);

// The record alone, for a value the file gets later or never: the size
// followed while the user drags it (written once the window has it), the
// dock state while the dock moves the window (written by the toggle's
// report; never when the plugin ends, so the next start docks again), and
// the alpha the window takes before it is written.
void setWithoutStoring(BoolKey key, bool value);
void setWithoutStoring(IntKey key, int32_t value);

}  // namespace zembrit
