#pragma once
#include "settings/keys.h"

namespace zembrit {

// The shared tail of every on/off command: optionally invert the flag, show
// "ZembritPlugin -> <word> enabled!/disabled!" in the shell's toolbar, write
// the flag under key, re-apply the window state and refresh an open menu.
// word is the command word as received, letter case kept.
void reportToggle(bool& flag, const char* word, BoolKey key, bool flip);

}  // namespace zembrit
