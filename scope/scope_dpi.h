#pragma once
#include <windows.h>

#include <cstdint>

// The DPI the scope's lengths are shown at: its own window's while it
// floats, the dock's while docked. Stored values (96-DPI units, see
// dpi_scale.h) become pixels here and pixels become stored values.
namespace zembrit {

uint32_t scopeDpi();
// WM_CREATE, before anything is placed or built.
void takeScopeDpi();
// WM_DPICHANGED: dpi is the new one, suggested the window rectangle the
// system proposes for it, in screen pixels.
void followDpiChange(uint32_t dpi, const RECT& suggested);
// WM_WINDOWPOSCHANGED: a change of DPI that came without WM_DPICHANGED (the
// window was docked, undocked, or only its thread is aware). True when there
// was one: the window has then been placed and built again at the new scale.
bool followUnannouncedDpiChange();

int32_t shownOnScope(int32_t stored);   // coordinates and sizes
int32_t lengthOnScope(int32_t stored);  // lengths that must stay visible
int32_t storedFromScope(int32_t shown);

}  // namespace zembrit
