#pragma once
#include <cstdint>

#include "settings/capture_source.h"
#include "settings/keys.h"
#include "settings/signal_settings.h"

namespace zembrit {

// Every configuration key's value, one member per row of the key table. The
// fields the capture thread reads while the user-interface thread may change
// them are Relaxed.
struct ScopeSettings {
#define ZEMBRIT_SETTING_FIELD(field, name, text, stored, type, fallback, rule) type field{};
    ZEMBRIT_SETTING_KEYS(ZEMBRIT_SETTING_FIELD)
#undef ZEMBRIT_SETTING_FIELD

    // Every field as it reads from a file that has none of the keys.
    ScopeSettings();
};

// The trace is horizontal only for the exact, case-sensitive code "h".
inline bool isHorizontal(char scopeType) { return scopeType == 'h'; }

}  // namespace zembrit
