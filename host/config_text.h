#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The stand-in shell's settings file format: plain text, one "key: value" per
// line. A line's key is the text before its first ':', its value the text
// after it, both trimmed of spaces and tabs (the value also of a '\r' ending
// the line). Keys match without regard to ASCII letter case; callers pass them
// as the plugin does, with a trailing colon, or without. Lines whose first
// non-blank character is '#' or '!', and lines without ':', are left alone.
// When a key stands on several lines, the first one counts for reads and is
// the one writes update, so the two always agree.
namespace zembrit::shellfile {

// The value of the first line with this key, or nothing when no line has it.
std::optional<std::string> lookupValue(std::string_view text, std::string_view key);

// The text with the key set to value: the first line with the key keeps its
// own spelling of the key and gets the new value after its colon; without
// such a line "<key>: <value>" is appended on a line of its own. Every other
// byte of the text is kept. A value is one line: it is cut at its first line
// break so it can never add lines of its own.
std::string withValue(std::string_view text, std::string_view key, std::string_view value);

// "true", "yes", "1" and "false", "no", "0", in any letter case. Anything else
// returns false and leaves out alone, so the caller keeps its default.
bool parseBoolValue(std::string_view value, bool& out);

// An optional '+' or '-' then decimal digits and nothing else, within the
// 32-bit signed range. Anything else (trailing text, "0x10", overflow)
// returns false and leaves out alone, so the caller keeps its default.
bool parseIntValue(std::string_view value, int32_t& out);

// "#rrggbb" in hex digits of either case, to a colour with red in the low
// byte (0x00bbggrr). Anything else returns false and leaves colorref alone.
bool parseColorValue(std::string_view value, uint32_t& colorref);

// A colour with red in the low byte as "#rrggbb" in lower case; the high byte
// is ignored.
std::string formatColorValue(uint32_t colorref);

}  // namespace zembrit::shellfile
