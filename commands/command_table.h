#pragma once
// Every command the plugin answers, in one table: the matcher, the
// dispatcher and the context menu are all generated from or keyed by it.

#include "settings/keys.h"

namespace zembrit {

inline constexpr char kShowPluginsCommand[] = "@NRShowPlugins";
inline constexpr char kHidePluginsCommand[] = "@NRHidePlugins";

// The colour presets: one text each, and the four joined for the shell.
#define ZEMBRIT_PRESET_COMMAND(n) "@Zembrit SetStyle " #n
inline constexpr const char* kPresetCommands[] = {ZEMBRIT_PRESET_COMMAND(1), ZEMBRIT_PRESET_COMMAND(2),
                                                  ZEMBRIT_PRESET_COMMAND(3), ZEMBRIT_PRESET_COMMAND(4)};
inline constexpr char kAllPresetCommands[] =
    ZEMBRIT_PRESET_COMMAND(1) ZEMBRIT_PRESET_COMMAND(2) ZEMBRIT_PRESET_COMMAND(3) ZEMBRIT_PRESET_COMMAND(4);
#undef ZEMBRIT_PRESET_COMMAND
inline constexpr int kPresetCount = 4;

// Internal commands are this prefix, any number of spaces, then a word.
inline constexpr char kInternalPrefix[] = "@ZembritInternal";

// How a word is recognised after the prefix. Whole: the whole rest, ignoring
// case; Substring: anywhere in the rest, case-sensitive, number after the
// first space; Prefix: at its start ignoring case, number right after it.
// Name: as Prefix, but what follows the word is a name (of a device or
// source), which may hold any other word: a Name word with a space after it
// wins over every other row. Substring and Prefix words carry a number,
// Name words a name.
enum class WordTest { Whole, Substring, Prefix, Name };

// X: id, the word matched, its test, and the word the menu sends.
// T, an on/off command: id, its word (matched whole, and sent by the menu),
// the key (keys.h) it flips, and the dispatcher's follow-up after the flip
// is reported and written: nothing, or restartRunningCapture.
// Tried in this order; the first match wins, so a word holding two
// substring texts goes to the earlier one.
#define ZEMBRIT_INTERNAL_COMMANDS(X, T)                                                                                \
    X(SlitToggle, "SlitToggle", Whole, "SlitToggle")                                                                   \
    T(MonitorStartUp, "MonitorStartUp", startWaveMonitorOnStartUp, nothing)                                            \
    T(AlwaysOnTop, "AlwaysOnTop", alwaysOnTop, nothing)                                                                \
    T(SnapWindowToEdge, "SnapWindowToEdge", snapWindow, nothing)                                                       \
    T(TransparencyEnabled, "TransparencyEnabled", transparencyEnabled, nothing)                                        \
    T(ToggleBorder, "ToggleBorder", showBorder, nothing)                                                               \
    T(TransbackEnabled, "TransbackEnabled", transbackEnabled, nothing)                                                 \
    X(SetTabHT, "SetTabHT", Whole, "SetTabHT")                                                                         \
    X(SetTabTR, "SetTabTR", Whole, "SetTabTR")                                                                         \
    X(SetTabBL, "SetTabBL", Whole, "SetTabBL")                                                                         \
    X(SetTabBR, "SetTabBR", Whole, "SetTabBR")                                                                         \
    X(SetTabTL, "SetTabTL", Whole, "SetTabTL")                                                                         \
    X(SetScopeV, "SetScopeV", Whole, "SetScopeV")                                                                      \
    X(SetScopeH, "SetScopeH", Whole, "SetScopeH")                                                                      \
    T(ToggleBlur, "ToggleBlur", motionBlur, nothing)                                                                   \
    X(SetBlurAlpha, "SetBlurAlpha", Substring, "SetBlurAlpha")                                                         \
    X(SetScopeWidth, "SetScopeWidth", Substring, "SetScopeWidth")                                                      \
    X(SetKHz, "SetKHz", Substring, "SetKHz")                                                                           \
    X(SetBuff, "SetBuff", Substring, "SetBufferSize")                                                                  \
    X(SetBit, "SetBit", Substring, "SetBit")                                                                           \
    X(SetFPS, "SetFPS", Substring, "SetFPS")                                                                           \
    X(TransparencyAlpha, "TransparencyAlpha ", Prefix, "TransparencyAlpha")                                            \
    T(ToggleWithPlugins, "ToggleWithPlugins", toggleWithPlugins, nothing)                                              \
    X(Edit, "Edit", Whole, "Edit")                                                                                     \
    X(About, "About", Whole, "About")                                                                                  \
    X(ToggleRecord, "ToggleRecord", Whole, "ToggleRecord")                                                             \
    X(SetTriggerRising, "SetTrigger rising", Whole, "SetTrigger rising")                                               \
    X(SetTriggerOff, "SetTrigger off", Whole, "SetTrigger off")                                                        \
    T(AutoGain, "AutoGain", autoGain, restartRunningCapture)                                                           \
    X(SetChannelsMono, "SetChannels mono", Whole, "SetChannels mono")                                                  \
    X(SetChannelsStereo, "SetChannels stereo", Whole, "SetChannels stereo")                                            \
    X(SetChannelsXY, "SetChannels xy", Whole, "SetChannels xy")                                                        \
    X(SetSource, "SetSource ", Name, "SetSource")                                                                      \
    X(SetDevice, "SetDevice", Name, "SetDevice")                                                                       \
    X(SetDelay, "SetDelay", Substring, "SetDelay")                                                                     \
    T(ClickThrough, "ClickThrough", clickThrough, nothing)                                                             \
    T(Beam, "Beam", beam, nothing)                                                                                     \
    X(SetViewTrace, "SetView trace", Whole, "SetView trace")                                                           \
    X(SetViewSpectrum, "SetView spectrum", Whole, "SetView spectrum")                                                  \
    T(Meter, "Meter", meter, restartRunningCapture)

#define ZEMBRIT_COMMAND_ID(id, word, test, menuWord) id,
#define ZEMBRIT_TOGGLE_ID(id, word, key, then) id,
enum class CommandId {
    None,
    ShowPlugins,
    HidePlugins,
    StylePreset,
    ZEMBRIT_INTERNAL_COMMANDS(ZEMBRIT_COMMAND_ID, ZEMBRIT_TOGGLE_ID)
};
#undef ZEMBRIT_TOGGLE_ID
#undef ZEMBRIT_COMMAND_ID

struct InternalCommandRule {
    CommandId id;
    const char* word;
    WordTest test;
    const char* menuWord;
};

#define ZEMBRIT_COMMAND_RULE(id, word, test, menuWord) {CommandId::id, word, WordTest::test, menuWord},
#define ZEMBRIT_TOGGLE_RULE(id, word, key, then) ZEMBRIT_COMMAND_RULE(id, word, Whole, word)
inline constexpr InternalCommandRule kInternalCommands[] = {
    ZEMBRIT_INTERNAL_COMMANDS(ZEMBRIT_COMMAND_RULE, ZEMBRIT_TOGGLE_RULE)};
#undef ZEMBRIT_TOGGLE_RULE
#undef ZEMBRIT_COMMAND_RULE

struct ToggleRule {
    CommandId id;
    BoolKey key;
};

#define ZEMBRIT_NOT_A_TOGGLE(id, word, test, menuWord)
#define ZEMBRIT_TOGGLE_KEY(id, word, key, then) {CommandId::id, keys::key},
inline constexpr ToggleRule kToggles[] = {ZEMBRIT_INTERNAL_COMMANDS(ZEMBRIT_NOT_A_TOGGLE, ZEMBRIT_TOGGLE_KEY)};
#undef ZEMBRIT_TOGGLE_KEY
#undef ZEMBRIT_NOT_A_TOGGLE

// The key an on/off command flips; nullptr for every other command.
constexpr const BoolKey* flippedKey(CommandId id) {
    for (const ToggleRule& toggle : kToggles)
        if (toggle.id == id) return &toggle.key;
    return nullptr;
}

// The rule of an internal command; nullptr for the shell and preset commands.
constexpr const InternalCommandRule* ruleOf(CommandId id) {
    for (const InternalCommandRule& rule : kInternalCommands)
        if (rule.id == id) return &rule;
    return nullptr;
}

constexpr bool takesNumber(CommandId id) {
    const InternalCommandRule* rule = ruleOf(id);
    return rule != nullptr && (rule->test == WordTest::Substring || rule->test == WordTest::Prefix);
}

}  // namespace zembrit
