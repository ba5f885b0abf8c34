#pragma once

namespace zembrit {

// "SlitToggle": moves the scope into the shell's dock or back out of it,
// then reports and writes the state inSlit now holds. Without a dock window
// nothing moves and a stored docked state is cleared; the report still
// happens.
void toggleDocking(const char* word);

// Out of the dock and back to the stored floating place; the window state
// is left for the caller to apply.
void undock();

}  // namespace zembrit
