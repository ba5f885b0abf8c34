#include "commands/command_match.h"

#include <cstring>

namespace zembrit {

namespace {

enum class WordTest { Whole, Substring, Prefix };

struct WordRule {
    const char* text;
    WordTest test;
    CommandId id;
};

// Tried in this order; the first match wins, so a word holding two of the
// substring texts goes to the earlier one.
constexpr WordRule kWordRules[] = {
    {"SlitToggle", WordTest::Whole, CommandId::SlitToggle},
    {"MonitorStartUp", WordTest::Whole, CommandId::MonitorStartUp},
    {"AlwaysOnTop", WordTest::Whole, CommandId::AlwaysOnTop},
    {"SnapWindowToEdge", WordTest::Whole, CommandId::SnapWindowToEdge},
    {"TransparencyEnabled", WordTest::Whole, CommandId::TransparencyEnabled},
    {"ToggleBorder", WordTest::Whole, CommandId::ToggleBorder},
    {"TransbackEnabled", WordTest::Whole, CommandId::TransbackEnabled},
    {"SetTabHT", WordTest::Whole, CommandId::SetTabHT},
    {"SetTabTR", WordTest::Whole, CommandId::SetTabTR},
    {"SetTabBL", WordTest::Whole, CommandId::SetTabBL},
    {"SetTabBR", WordTest::Whole, CommandId::SetTabBR},
    {"SetTabTL", WordTest::Whole, CommandId::SetTabTL},
    {"SetScopeV", WordTest::Whole, CommandId::SetScopeV},
    {"SetScopeH", WordTest::Whole, CommandId::SetScopeH},
    {"ToggleBlur", WordTest::Whole, CommandId::ToggleBlur},
    {"SetBlurAlpha", WordTest::Substring, CommandId::SetBlurAlpha},
    {"SetScopeWidth", WordTest::Substring, CommandId::SetScopeWidth},
    {"SetKHz", WordTest::Substring, CommandId::SetKHz},
    {"SetBuff", WordTest::Substring, CommandId::SetBuff},
    {"SetBit", WordTest::Substring, CommandId::SetBit},
    {"SetFPS", WordTest::Substring, CommandId::SetFPS},
    {"TransparencyAlpha ", WordTest::Prefix, CommandId::TransparencyAlpha},
    {"ToggleWithPlugins", WordTest::Whole, CommandId::ToggleWithPlugins},
    {"Edit", WordTest::Whole, CommandId::Edit},
    {"About", WordTest::Whole, CommandId::About},
    {"ToggleRecord", WordTest::Whole, CommandId::ToggleRecord},
};

constexpr const char* kPresetTexts[] = {"@Zembrit SetStyle 1", "@Zembrit SetStyle 2", "@Zembrit SetStyle 3",
                                        "@Zembrit SetStyle 4"};
constexpr char kInternalPrefix[] = "@ZembritInternal";

// ASCII-only folding: the strings are single-byte and the locale must not matter.
char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Returns the text after `prefix` when `text` starts with it (ignoring case).
const char* skipPrefixIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (foldCase(*text) != foldCase(*prefix)) return nullptr;
    }
    return text;
}

bool equalsIgnoringCase(const char* text, const char* word) {
    const char* rest = skipPrefixIgnoringCase(text, word);
    return rest != nullptr && *rest == '\0';
}

bool isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

Command withArgument(CommandId id, const char* word, const char* argumentText) {
    Command command{id, word, 0, argumentText != nullptr};
    if (command.hasNumber) command.number = parseCommandNumber(argumentText);
    return command;
}

Command matchWord(const char* word) {
    for (const WordRule& rule : kWordRules) {
        switch (rule.test) {
        case WordTest::Whole:
            if (equalsIgnoringCase(word, rule.text)) return Command{rule.id, word};
            break;
        case WordTest::Substring:
            if (std::strstr(word, rule.text) != nullptr) return withArgument(rule.id, word, std::strchr(word, ' '));
            break;
        case WordTest::Prefix:
            if (const char* rest = skipPrefixIgnoringCase(word, rule.text)) return withArgument(rule.id, word, rest);
            break;
        }
    }
    return Command{};
}

}  // namespace

Command matchCommand(const char* text) {
    if (text == nullptr) return Command{};
    if (equalsIgnoringCase(text, "@NRShowPlugins")) return Command{CommandId::ShowPlugins, text};
    if (equalsIgnoringCase(text, "@NRHidePlugins")) return Command{CommandId::HidePlugins, text};
    for (int preset = 1; preset <= 4; ++preset) {
        if (equalsIgnoringCase(text, kPresetTexts[preset - 1])) return Command{CommandId::StylePreset, text, preset, true};
    }
    const char* word = skipPrefixIgnoringCase(text, kInternalPrefix);
    if (word == nullptr) return Command{};
    while (*word == ' ') ++word;
    return matchWord(word);
}

int32_t parseCommandNumber(const char* text) {
    if (text == nullptr) return 0;
    while (isWhiteSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + static_cast<uint32_t>(*text - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

}  // namespace zembrit
