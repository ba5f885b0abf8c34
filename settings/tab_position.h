#pragma once
#include <cstring>

// The codes of the tab's corner, as stored in the configuration file.
namespace zembrit::tabs {

inline constexpr char hidden[] = "ht";
inline constexpr char topRight[] = "tr";
inline constexpr char bottomLeft[] = "bl";
inline constexpr char bottomRight[] = "br";
inline constexpr char topLeft[] = "tl";

// True only for the whole code. Compares at most three bytes, so the stored
// two-letter field is safe even when it is not terminated.
inline bool is(const char* stored, const char* code) { return stored != nullptr && std::strncmp(stored, code, 3) == 0; }

}  // namespace zembrit::tabs
