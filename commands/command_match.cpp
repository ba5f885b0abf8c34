#include "commands/command_match.h"

#include <cstring>

#include "settings/ascii_text.h"

namespace zembrit {

namespace {

// Returns the text after `prefix` when `text` starts with it (ignoring case).
const char* skipPrefixIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (foldCase(*text) != foldCase(*prefix)) return nullptr;
    }
    return text;
}

Command withArgument(CommandId id, const char* word, const char* argumentText) {
    Command command{id, word, 0, argumentText != nullptr};
    if (command.hasNumber) command.number = parseCommandNumber(argumentText);
    return command;
}

// A space parts a name from its word; the word may already end in it.
bool nameFollows(const char* nameWord, const char* rest) {
    return nameWord[std::strlen(nameWord) - 1] == ' ' || *rest == ' ';
}

// A device's name may be "Mic SetBit 8": it must not reach another row.
Command matchName(const char* word) {
    for (const InternalCommandRule& rule : kInternalCommands) {
        if (rule.test != WordTest::Name) continue;
        const char* rest = skipPrefixIgnoringCase(word, rule.word);
        if (rest != nullptr && nameFollows(rule.word, rest)) return withArgument(rule.id, word, rest);
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
            if (std::strstr(word, rule.word) != nullptr) return withArgument(rule.id, word, std::strchr(word, ' '));
            break;
        case WordTest::Prefix:
        case WordTest::Name:
            if (const char* rest = skipPrefixIgnoringCase(word, rule.word)) return withArgument(rule.id, word, rest);
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

int32_t parseCommandNumber(const char* text) {
    if (text == nullptr) return 0;
    text = skipLeading(text);
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + static_cast<uint32_t>(*text - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

}  // namespace zembrit
