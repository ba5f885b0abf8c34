#pragma once
#include <cstdint>

namespace zembrit {

// The extended-style bits the scope manages, with the platform's values
// (window_state.cpp checks them against windows.h).
inline constexpr std::intptr_t kLayeredStyle = 0x00080000;
inline constexpr std::intptr_t kClickThroughStyle = 0x00000020;

// The extended style of a scope on a platform with layered windows: floating,
// it is layered and, when asked, lets clicks reach what lies beneath; docked,
// it is neither, so the dock keeps its clicks. Every other bit is kept.
std::intptr_t layeringStyle(std::intptr_t current, bool floating, bool clickThrough);

}  // namespace zembrit
