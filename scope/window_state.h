#pragma once
#include <windows.h>

namespace zembrit {

// The scope's window from its creation until its destruction; null outside.
HWND scopeWindow();
void setScopeWindow(HWND created);

// The shell's dock, given at start-up; null for a plugin started outside any.
HWND dockWindow();
void setDockWindow(HWND dock);
// Held by the dock: stored as docked, with a dock to hold it. Otherwise the
// scope floats, with all that floating means, whatever inSlit says.
bool docked();
// Only a layered window makes the colour key see-through.
bool isLayered();

// The shell hid its plugins; a scope that follows them stays hidden.
void setPluginsHidden(bool hidden);

// Layered windows (translucency, colour key) exist on this platform.
bool layeringSupported();

void applyWindowState();
// A floating scope is dragged by any point; a docked one is left to the dock.
LRESULT hitTestAnswer();
// A left press on the scope: moves it, or sizes it with Alt held.
void startMoveOrSize();
void setMinimumTrackSize(MINMAXINFO& limits);
// A floating scope snaps to the screen's edges while it moves.
void snapToEdges(WINDOWPOS& pending);
// Stores the floating window's new place and size.
void recordPlacement(const WINDOWPOS& done);

}  // namespace zembrit
