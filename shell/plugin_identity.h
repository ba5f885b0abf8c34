#pragma once
// Who the plugin is, as the shell, its boxes and its window class name it.

namespace zembrit {

inline constexpr char kPluginName[] = "Zembrit";
inline constexpr char kPluginVersion[] = "v1.22b";
inline constexpr char kPluginReleaseDate[] = "2006-01-29";
inline constexpr char kPluginCaption[] = "Zembrit v1.22b";
inline constexpr char kWindowClassName[] = "Zembrit";
inline constexpr char kPluginAuthor[] = "Zembrit developers";
inline constexpr char kPluginLink[] = "https://zembrit.example.org/";
inline constexpr char kPluginEmail[] = "zembrit@example.org";

}  // namespace zembrit
