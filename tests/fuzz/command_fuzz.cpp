// Fuzz target for the broadcast command matcher and its number parser. Any
// byte string must be decoded without reading outside it, and the decoded
// command must agree with the rules checked independently below.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "commands/command_match.h"

namespace {

using zembrit::Command;
using zembrit::CommandId;

constexpr char kInternalPrefix[] = "@ZembritInternal";
constexpr size_t kInternalPrefixLength = sizeof kInternalPrefix - 1;

void require(bool condition) {
    if (!condition) std::abort();
}

char lowerCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char flippedCase(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    return c;
}

bool sameIgnoringCase(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (lowerCase(a[i]) != lowerCase(b[i])) return false;
    }
    return true;
}

bool equalsIgnoringCase(const char* text, const char* word) {
    return std::strlen(text) == std::strlen(word) && sameIgnoringCase(text, word, std::strlen(word));
}

enum class Kind { Shell, Preset, Whole, Substring, Prefix, Name };

struct Expected {
    CommandId id;
    Kind kind;
    const char* text;
};

// What each command decodes from, written out here rather than taken from
// the matcher so the two can disagree.
constexpr Expected kExpected[] = {
    {CommandId::ShowPlugins, Kind::Shell, "@NRShowPlugins"},
    {CommandId::HidePlugins, Kind::Shell, "@NRHidePlugins"},
    {CommandId::StylePreset, Kind::Preset, "@Zembrit SetStyle "},
    {CommandId::SlitToggle, Kind::Whole, "SlitToggle"},
    {CommandId::MonitorStartUp, Kind::Whole, "MonitorStartUp"},
    {CommandId::AlwaysOnTop, Kind::Whole, "AlwaysOnTop"},
    {CommandId::SnapWindowToEdge, Kind::Whole, "SnapWindowToEdge"},
    {CommandId::TransparencyEnabled, Kind::Whole, "TransparencyEnabled"},
    {CommandId::ToggleBorder, Kind::Whole, "ToggleBorder"},
    {CommandId::TransbackEnabled, Kind::Whole, "TransbackEnabled"},
    {CommandId::SetTabHT, Kind::Whole, "SetTabHT"},
    {CommandId::SetTabTR, Kind::Whole, "SetTabTR"},
    {CommandId::SetTabBL, Kind::Whole, "SetTabBL"},
    {CommandId::SetTabBR, Kind::Whole, "SetTabBR"},
    {CommandId::SetTabTL, Kind::Whole, "SetTabTL"},
    {CommandId::SetScopeV, Kind::Whole, "SetScopeV"},
    {CommandId::SetScopeH, Kind::Whole, "SetScopeH"},
    {CommandId::ToggleBlur, Kind::Whole, "ToggleBlur"},
    {CommandId::SetBlurAlpha, Kind::Substring, "SetBlurAlpha"},
    {CommandId::SetScopeWidth, Kind::Substring, "SetScopeWidth"},
    {CommandId::SetKHz, Kind::Substring, "SetKHz"},
    {CommandId::SetBuff, Kind::Substring, "SetBuff"},
    {CommandId::SetBit, Kind::Substring, "SetBit"},
    {CommandId::SetFPS, Kind::Substring, "SetFPS"},
    {CommandId::TransparencyAlpha, Kind::Prefix, "TransparencyAlpha "},
    {CommandId::ToggleWithPlugins, Kind::Whole, "ToggleWithPlugins"},
    {CommandId::Edit, Kind::Whole, "Edit"},
    {CommandId::About, Kind::Whole, "About"},
    {CommandId::ToggleRecord, Kind::Whole, "ToggleRecord"},
    {CommandId::SetTriggerRising, Kind::Whole, "SetTrigger rising"},
    {CommandId::SetTriggerOff, Kind::Whole, "SetTrigger off"},
    {CommandId::AutoGain, Kind::Whole, "AutoGain"},
    {CommandId::SetChannelsMono, Kind::Whole, "SetChannels mono"},
    {CommandId::SetChannelsStereo, Kind::Whole, "SetChannels stereo"},
    {CommandId::SetChannelsXY, Kind::Whole, "SetChannels xy"},
    {CommandId::SetSource, Kind::Name, "SetSource "},
    {CommandId::SetDevice, Kind::Name, "SetDevice"},
    {CommandId::SetDelay, Kind::Substring, "SetDelay"},
    {CommandId::ClickThrough, Kind::Whole, "ClickThrough"},
    {CommandId::Beam, Kind::Whole, "Beam"},
    {CommandId::SetViewTrace, Kind::Whole, "SetView trace"},
    {CommandId::SetViewSpectrum, Kind::Whole, "SetView spectrum"},
    {CommandId::Meter, Kind::Whole, "Meter"},
};

// Whatever a name holds, these words followed by a space own the command.
constexpr Expected kNameWords[] = {{CommandId::SetSource, Kind::Name, "SetSource "},
                                   {CommandId::SetDevice, Kind::Name, "SetDevice "}};

const Expected& expectedFor(CommandId id) {
    for (const Expected& expected : kExpected) {
        if (expected.id == id) return expected;
    }
    std::abort();
}

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The C library saturates at the bounds of long (at least 32 bits): brought
// to 32 bits, its value must be the parser's. No digit, no number.
void checkNumber(const char* text) {
    const std::optional<int32_t> parsed = zembrit::parseCommandNumber(text);
    const char* digits = text;
    while (isCSpace(*digits)) ++digits;
    if (*digits == '+' || *digits == '-') ++digits;
    if (!isDigit(*digits)) return require(!parsed.has_value());
    const long expected = std::strtol(text, nullptr, 10);
    require(parsed ==
            static_cast<int32_t>(expected < INT32_MIN ? INT32_MIN : (expected > INT32_MAX ? INT32_MAX : expected)));
}

void checkInternalWord(const char* text, const char* word) {
    require(word >= text + kInternalPrefixLength);
    require(sameIgnoringCase(text, kInternalPrefix, kInternalPrefixLength));
    for (const char* gap = text + kInternalPrefixLength; gap < word; ++gap) require(*gap == ' ');
    require(*word != ' ');
}

void checkCommand(const char* text, size_t length) {
    const Command command = zembrit::matchCommand(text);
    if (command.id == CommandId::None) return;
    require(command.word != nullptr && command.word >= text && command.word <= text + length);
    const Expected& expected = expectedFor(command.id);
    const char* word = command.word;
    const char* space = std::strchr(word, ' ');
    switch (expected.kind) {
    case Kind::Shell: require(word == text && equalsIgnoringCase(text, expected.text)); break;
    case Kind::Preset:
        require(word == text && length == 19 && sameIgnoringCase(text, expected.text, 18));
        require(command.number >= 1 && command.number <= 4 && text[18] == '0' + command.number);
        break;
    case Kind::Whole:
        checkInternalWord(text, word);
        require(!command.hasNumber && equalsIgnoringCase(word, expected.text));
        break;
    case Kind::Substring:
        checkInternalWord(text, word);
        require(std::strstr(word, expected.text) != nullptr);
        require(command.hasNumber == (space != nullptr && zembrit::parseCommandNumber(space).has_value()));
        if (command.hasNumber) require(command.number == zembrit::parseCommandNumber(space));
        break;
    case Kind::Prefix: {
        checkInternalWord(text, word);
        require(sameIgnoringCase(word, expected.text, std::strlen(expected.text)));
        const std::optional<int32_t> number = zembrit::parseCommandNumber(word + std::strlen(expected.text));
        require(command.hasNumber == number.has_value() && command.number == number.value_or(0));
        break;
    }
    case Kind::Name:
        checkInternalWord(text, word);
        require(sameIgnoringCase(word, expected.text, std::strlen(expected.text)));
        require(!command.hasNumber);
        break;
    }
}

// The name words are decoded before any other row is tried.
void checkNameWins(const char* text, size_t length) {
    if (length < kInternalPrefixLength || !sameIgnoringCase(text, kInternalPrefix, kInternalPrefixLength)) return;
    const char* word = text + kInternalPrefixLength;
    while (*word == ' ') ++word;
    for (const Expected& name : kNameWords) {
        const size_t nameLength = std::strlen(name.text);
        if (std::strlen(word) < nameLength || !sameIgnoringCase(word, name.text, nameLength)) continue;
        const Command command = zembrit::matchCommand(text);
        require(command.id == name.id && command.word == word);
    }
}

// Commands compared whole ignore letter case: flipping every letter keeps them.
void checkCaseFolding(const char* text, size_t length) {
    const Command command = zembrit::matchCommand(text);
    if (command.id == CommandId::None) return;
    const Kind kind = expectedFor(command.id).kind;
    if (kind == Kind::Substring || kind == Kind::Prefix || kind == Kind::Name) return;
    std::vector<char> flipped(text, text + length + 1);
    for (char& c : flipped) c = flippedCase(c);
    const Command again = zembrit::matchCommand(flipped.data());
    require(again.id == command.id && again.number == command.number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the bytes given plus a terminator, so the sanitizer sees any
    // read past the end of the string.
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    const size_t length = std::strlen(text.data());
    checkNumber(text.data());
    checkCommand(text.data(), length);
    checkNameWins(text.data(), length);
    checkCaseFolding(text.data(), length);
    return 0;
}
