#include "host/config_text.h"

#include <algorithm>
#include <cstdint>

namespace zembrit::shellfile {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr size_t npos = std::string_view::npos;

// Where the line holding a key sits in the text.
struct SettingLine {
    size_t colon;       // offset of the colon that ends the line's key
    size_t contentEnd;  // offset of the line's '\r' or '\n', or the text's end
};

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string_view trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view withoutTrailingColon(std::string_view key) {
    if (!key.empty() && key.back() == ':') key.remove_suffix(1);
    return key;
}

// The offset of the colon ending the key when this line (without its line
// break) is a setting with that key, else npos.
size_t keyColon(std::string_view line, std::string_view bareKey) {
    const size_t firstChar = line.find_first_not_of(kBlanks);
    if (firstChar == npos || line[firstChar] == '#' || line[firstChar] == '!') return npos;
    const size_t colon = line.find(':');
    if (colon == npos || !equalsIgnoringCase(trimBlanks(line.substr(0, colon)), bareKey)) {
        return npos;
    }
    return colon;
}

std::optional<SettingLine> findSettingLine(std::string_view text, std::string_view key) {
    const std::string_view bareKey = withoutTrailingColon(key);
    for (size_t lineStart = 0; lineStart < text.size();) {
        const size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
        size_t contentEnd = lineEnd;
        if (contentEnd > lineStart && text[contentEnd - 1] == '\r') --contentEnd;
        const size_t colon = keyColon(text.substr(lineStart, contentEnd - lineStart), bareKey);
        if (colon != npos) return SettingLine{lineStart + colon, contentEnd};
        lineStart = lineEnd + 1;
    }
    return std::nullopt;
}

// Appends " value", or nothing for an empty value so no line ends in a blank.
void appendValue(std::string& out, std::string_view value) {
    if (value.empty()) return;
    out.push_back(' ');
    out.append(value);
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = asciiLower(c);
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> lookupValue(std::string_view text, std::string_view key) {
    const std::optional<SettingLine> line = findSettingLine(text, key);
    if (!line) return std::nullopt;
    const size_t valueStart = line->colon + 1;
    return std::string(trimBlanks(text.substr(valueStart, line->contentEnd - valueStart)));
}

std::string withValue(std::string_view text, std::string_view key, std::string_view value) {
    const std::string_view oneLine = value.substr(0, value.find_first_of("\r\n"));
    std::string result;
    if (const std::optional<SettingLine> line = findSettingLine(text, key)) {
        result.append(text.substr(0, line->colon + 1));
        appendValue(result, oneLine);
        result.append(text.substr(line->contentEnd));
        return result;
    }
    result.append(text);
    if (!result.empty() && result.back() != '\n') result.push_back('\n');
    result.append(withoutTrailingColon(key));
    result.push_back(':');
    appendValue(result, oneLine);
    result.push_back('\n');
    return result;
}

bool parseBoolValue(std::string_view value, bool& out) {
    struct Word {
        std::string_view text;
        bool meaning;
    };
    static constexpr Word kWords[] = {{"true", true},   {"yes", true}, {"1", true},
                                      {"false", false}, {"no", false}, {"0", false}};
    for (const Word& word : kWords) {
        if (equalsIgnoringCase(value, word.text)) {
            out = word.meaning;
            return true;
        }
    }
    return false;
}

bool parseIntValue(std::string_view value, int32_t& out) {
    const bool negative = !value.empty() && value.front() == '-';
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) value.remove_prefix(1);
    if (value.empty()) return false;
    constexpr int64_t kLargestMagnitude = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLargestMagnitude) return false;
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX) return false;
    out = static_cast<int32_t>(result);
    return true;
}

bool parseColorValue(std::string_view value, uint32_t& colorref) {
    if (value.size() != 7 || value.front() != '#') return false;
    uint32_t rgb = 0;
    for (const char c : value.substr(1)) {
        const int digit = hexDigitValue(c);
        if (digit < 0) return false;
        rgb = (rgb << 4) | static_cast<uint32_t>(digit);
    }
    colorref = ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
    return true;
}

std::string formatColorValue(uint32_t colorref) {
    constexpr char kHexDigits[] = "0123456789abcdef";
    const uint8_t channels[] = {static_cast<uint8_t>(colorref), static_cast<uint8_t>(colorref >> 8),
                                static_cast<uint8_t>(colorref >> 16)};
    std::string text = "#";
    for (const uint8_t channel : channels) {
        text.push_back(kHexDigits[channel >> 4]);
        text.push_back(kHexDigits[channel & 0xF]);
    }
    return text;
}

}  // namespace zembrit::shellfile
