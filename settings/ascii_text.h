#pragma once
#include <cstring>
#include <string_view>

// Words in the configuration file and in commands are single-byte text,
// compared and trimmed by their ASCII letters and white space alone: the
// locale must not matter.
namespace zembrit {

constexpr char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

// Space, tab, line feed, vertical tab, form feed, carriage return.
inline constexpr char kWhiteSpace[] = " \t\n\v\f\r";

// text after its leading characters from skipped.
inline const char* skipLeading(const char* text, const char* skipped = kWhiteSpace) {
    return text + std::strspn(text, skipped);
}

// text without white space at either end.
inline std::string_view trimmed(const char* text) {
    const std::string_view rest = skipLeading(text);
    return rest.substr(0, rest.find_last_not_of(kWhiteSpace) + 1);
}

// A control character: one below the space, delete, or one of the C1 codes
// as UTF-8 writes them (0xC2 0x80 to 0xC2 0x9F).
inline bool holdsControlCharacter(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return true;
        if (c == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80) return true;
    }
    return false;
}

}  // namespace zembrit
