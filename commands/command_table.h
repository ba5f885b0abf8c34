#pragma once
// Every command the plugin answers, in one table: the matcher, the
// dispatcher and the context menu are all generated from or keyed by it.

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
// wins over every other row. Substring, Prefix and Name words carry an argument.
enum class WordTest { Whole, Substring, Prefix, Name };

// Id, the word matched, its test, and the word the menu sends. Tried in this
// order; the first match wins, so a word holding two substring texts goes to
// the earlier one.
#define ZEMBRIT_INTERNAL_COMMANDS(X)                                                                                   \
    X(SlitToggle, "SlitToggle", Whole, "SlitToggle")                                                                   \
    X(MonitorStartUp, "MonitorStartUp", Whole, "MonitorStartUp")                                                       \
    X(AlwaysOnTop, "AlwaysOnTop", Whole, "AlwaysOnTop")                                                                \
    X(SnapWindowToEdge, "SnapWindowToEdge", Whole, "SnapWindowToEdge")                                                 \
    X(TransparencyEnabled, "TransparencyEnabled", Whole, "TransparencyEnabled")                                        \
    X(ToggleBorder, "ToggleBorder", Whole, "ToggleBorder")                                                             \
    X(TransbackEnabled, "TransbackEnabled", Whole, "TransbackEnabled")                                                 \
    X(SetTabHT, "SetTabHT", Whole, "SetTabHT")                                                                         \
    X(SetTabTR, "SetTabTR", Whole, "SetTabTR")                                                                         \
    X(SetTabBL, "SetTabBL", Whole, "SetTabBL")                                                                         \
    X(SetTabBR, "SetTabBR", Whole, "SetTabBR")                                                                         \
    X(SetTabTL, "SetTabTL", Whole, "SetTabTL")                                                                         \
    X(SetScopeV, "SetScopeV", Whole, "SetScopeV")                                                                      \
    X(SetScopeH, "SetScopeH", Whole, "SetScopeH")                                                                      \
    X(ToggleBlur, "ToggleBlur", Whole, "ToggleBlur")                                                                   \
    X(SetBlurAlpha, "SetBlurAlpha", Substring, "SetBlurAlpha")                                                         \
    X(SetScopeWidth, "SetScopeWidth", Substring, "SetScopeWidth")                                                      \
    X(SetKHz, "SetKHz", Substring, "SetKHz")                                                                           \
    X(SetBuff, "SetBuff", Substring, "SetBufferSize")                                                                  \
    X(SetBit, "SetBit", Substring, "SetBit")                                                                           \
    X(SetFPS, "SetFPS", Substring, "SetFPS")                                                                           \
    X(TransparencyAlpha, "TransparencyAlpha ", Prefix, "TransparencyAlpha")                                            \
    X(ToggleWithPlugins, "ToggleWithPlugins", Whole, "ToggleWithPlugins")                                              \
    X(Edit, "Edit", Whole, "Edit")                                                                                     \
    X(About, "About", Whole, "About")                                                                                  \
    X(ToggleRecord, "ToggleRecord", Whole, "ToggleRecord")                                                             \
    X(SetTriggerRising, "SetTrigger rising", Whole, "SetTrigger rising")                                               \
    X(SetTriggerOff, "SetTrigger off", Whole, "SetTrigger off")                                                        \
    X(AutoGain, "AutoGain", Whole, "AutoGain")                                                                         \
    X(SetChannelsMono, "SetChannels mono", Whole, "SetChannels mono")                                                  \
    X(SetChannelsStereo, "SetChannels stereo", Whole, "SetChannels stereo")                                            \
    X(SetChannelsXY, "SetChannels xy", Whole, "SetChannels xy")                                                        \
    X(SetSource, "SetSource ", Name, "SetSource")                                                                      \
    X(SetDevice, "SetDevice", Name, "SetDevice")                                                                       \
    X(SetDelay, "SetDelay", Substring, "SetDelay")                                                                     \
    X(ClickThrough, "ClickThrough", Whole, "ClickThrough")

#define ZEMBRIT_COMMAND_ID(id, word, test, menuWord) id,
enum class CommandId { None, ShowPlugins, HidePlugins, StylePreset, ZEMBRIT_INTERNAL_COMMANDS(ZEMBRIT_COMMAND_ID) };
#undef ZEMBRIT_COMMAND_ID

struct InternalCommandRule {
    CommandId id;
    const char* word;
    WordTest test;
    const char* menuWord;
};

#define ZEMBRIT_COMMAND_RULE(id, word, test, menuWord) {CommandId::id, word, WordTest::test, menuWord},
inline constexpr InternalCommandRule kInternalCommands[] = {ZEMBRIT_INTERNAL_COMMANDS(ZEMBRIT_COMMAND_RULE)};
#undef ZEMBRIT_COMMAND_RULE

// The rule of an internal command; nullptr for the shell and preset commands.
constexpr const InternalCommandRule* ruleOf(CommandId id) {
    for (const InternalCommandRule& rule : kInternalCommands)
        if (rule.id == id) return &rule;
    return nullptr;
}

constexpr bool takesNumber(CommandId id) {
    const InternalCommandRule* rule = ruleOf(id);
    return rule != nullptr && rule->test != WordTest::Whole;
}

}  // namespace zembrit
