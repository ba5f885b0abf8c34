#include "commands/command_match.h"

#include <algorithm>
#include <cstring>

#include "settings/ascii_text.h"
#include "settings/saturate.h"

namespace zembrit {

namespace {

// Returns the text after `prefix` when `text` starts with it (ignoring case).
const char* skipPrefixIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (foldCase(*text) != foldCase(*prefix)) return nullptr;
    }
    return text;
}

Command withNumber(CommandId id, const char* word, const char* argumentText) {
    const std::optional<int32_t> number = parseCommandNumber(argumentText);
    return Command{id, word, number.value_or(0), number.has_value()};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A space parts a name from its word; the word may already end in it.
bool nameFollows(const char* nameWord, const char* rest) {
    return nameWord[std::strlen(nameWord) - 1] == ' ' || *rest == ' ';
}

// A device's name may be "Mic SetBit 8": it must not reach another row.
Command matchName(const char* word) {
    for (const InternalCommandRule& rule : kInternalCommands) {
        if (rule.test != WordTest::Name) continue;
        const char* rest = skipPrefixIgnoringCase(word, rule.word);
        if (rest != nullptr && nameFollows(rule.word, rest)) return Command{rule.id, word};
    }
    return Command{};
}

Command matchRows(const char* word) {
    for (const InternalCommandRule& rule : kInternalCommands) {
        switch (rule.test) {
        case WordTest::Whole:
            if (sameIgnoringCase(word, rule.word)) return Command{rule.id, word};
            break;
        case WordTest::Substring:
            if (std::strstr(word, rule.word) != nullptr) return withNumber(rule.id, word, std::strchr(word, ' '));
            break;
        case WordTest::Prefix:
            if (const char* rest = skipPrefixIgnoringCase(word, rule.word)) return withNumber(rule.id, word, rest);
            break;
        case WordTest::Name:
            if (skipPrefixIgnoringCase(word, rule.word)) return Command{rule.id, word};
            break;
        }
    }
    return Command{};
}

Command matchWord(const char* word) {
    const Command named = matchName(word);
    return named.id != CommandId::None ? named : matchRows(word);
}

}  // namespace

Command matchCommand(const char* text) {
    if (text == nullptr) return Command{};
    if (sameIgnoringCase(text, kShowPluginsCommand)) return Command{CommandId::ShowPlugins, text};
    if (sameIgnoringCase(text, kHidePluginsCommand)) return Command{CommandId::HidePlugins, text};
    for (int preset = 1; preset <= kPresetCount; ++preset) {
        if (sameIgnoringCase(text, kPresetCommands[preset - 1]))
            return Command{CommandId::StylePreset, text, preset, true};
    }
    const char* word = skipPrefixIgnoringCase(text, kInternalPrefix);
    if (word == nullptr) return Command{};
    return matchWord(skipLeading(word, " "));
}

std::optional<int32_t> parseCommandNumber(const char* text) {
    if (text == nullptr) return std::nullopt;
    text = skipLeading(text);
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    if (!isDigit(*text)) return std::nullopt;
    // Past 2^31 every magnitude saturates alike, so the sum stops growing there.
    constexpr int64_t kBeyondInt32 = int64_t{1} << 31;
    int64_t magnitude = 0;
    for (; isDigit(*text); ++text) magnitude = std::min(magnitude * 10 + (*text - '0'), kBeyondInt32);
    return saturateToInt32(negative ? -magnitude : magnitude);
}

}  // namespace zembrit
