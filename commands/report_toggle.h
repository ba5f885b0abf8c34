#pragma once
#include "settings/keys.h"

namespace zembrit {

// The shared tail of every on/off command: the flag under key, inverted when
// flip is set, is shown as "ZembritPlugin -> <word> enabled!/disabled!" in
// the shell's toolbar and then set; the window state is re-applied and an
// open menu refreshed. word is the command word as received, letter case
// kept.
void reportToggle(BoolKey key, const char* word, bool flip);

}  // namespace zembrit
