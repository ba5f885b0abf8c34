#pragma once
#include <windows.h>

namespace zembrit {

// The layered window's colour key, and the see-through background's fill:
// pixels of exactly this colour are not shown on a floating window.
inline constexpr COLORREF colorKey = RGB(255, 0, 230);

}  // namespace zembrit
