#pragma once
#include <windows.h>

namespace zembrit {

inline constexpr char kPluginCaption[] = "Zembrit v1.22b";
inline constexpr char kWindowClassName[] = "Zembrit";
inline constexpr char kPluginAuthor[] = "Zembrit developers";
inline constexpr char kPluginLink[] = "https://zembrit.example.org/";
inline constexpr char kPluginEmail[] = "zembrit@example.org";

// Handles that live from start-up to shut-down.
extern HINSTANCE moduleInstance;
extern HWND hostWindow;
extern HWND scopeWindow;
extern HWND dockWindow;
extern bool layeringSupported;

}  // namespace zembrit
