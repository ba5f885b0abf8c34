#include "commands/command_match.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <utility>

namespace zembrit {
namespace {

CommandId idOf(const char* text) { return matchCommand(text).id; }

TEST(MatchCommand, ShellCommandsAndPresetsCompareWholeIgnoringCase) {
    EXPECT_EQ(idOf("@NRShowPlugins"), CommandId::ShowPlugins);
    EXPECT_EQ(idOf("@nrhideplugins"), CommandId::HidePlugins);
    EXPECT_EQ(idOf("@NRHidePlugins "), CommandId::None);
    for (int n = 1; n <= 4; ++n) {
        const std::string upper = "@ZEMBRIT SETSTYLE " + std::to_string(n);
        const Command preset = matchCommand(upper.c_str());
        EXPECT_EQ(preset.id, CommandId::StylePreset);
        EXPECT_EQ(preset.number, n);
    }
    EXPECT_EQ(idOf("@Zembrit SetStyle 5"), CommandId::None);
    EXPECT_EQ(idOf("@Zembrit SetStyle 0"), CommandId::None);
    EXPECT_EQ(idOf("@Zembrit SetStyle 1 "), CommandId::None);
    EXPECT_EQ(idOf("@ZembritInternal @Zembrit SetStyle 1"), CommandId::None);
    EXPECT_EQ(idOf("@ZembritInternal SetStyle 1"), CommandId::None);
}

TEST(MatchCommand, PrefixIgnoresCaseAndSkipsOnlySpaces) {
    EXPECT_EQ(idOf("@ZembritInternalAbout"), CommandId::About);
    EXPECT_EQ(idOf("@ZembritInternal    About"), CommandId::About);
    EXPECT_EQ(idOf("@zembritinternal ABOUT"), CommandId::About);
    EXPECT_EQ(idOf("@ZembritInternal\tAbout"), CommandId::None);
    EXPECT_EQ(idOf("@ZembritInternal About "), CommandId::None);
    EXPECT_EQ(idOf("@ZembritIntern About"), CommandId::None);
    EXPECT_EQ(idOf("x@ZembritInternal About"), CommandId::None);
    EXPECT_EQ(idOf("@ZembritInternal"), CommandId::None);
    EXPECT_EQ(idOf(""), CommandId::None);
    EXPECT_EQ(idOf(nullptr), CommandId::None);
}

TEST(MatchCommand, WordPointsAtTheTextAsReceived) {
    const char text[] = "@zembritinternal  alwaysontop";
    const Command command = matchCommand(text);
    EXPECT_EQ(command.id, CommandId::AlwaysOnTop);
    EXPECT_EQ(command.word, text + 18);
    EXPECT_STREQ(command.word, "alwaysontop");
}

TEST(MatchCommand, EveryWholeWord) {
    const std::pair<const char*, CommandId> words[] = {
        {"SlitToggle", CommandId::SlitToggle},
        {"MonitorStartUp", CommandId::MonitorStartUp},
        {"AlwaysOnTop", CommandId::AlwaysOnTop},
        {"SnapWindowToEdge", CommandId::SnapWindowToEdge},
        {"TransparencyEnabled", CommandId::TransparencyEnabled},
        {"ToggleBorder", CommandId::ToggleBorder},
        {"TransbackEnabled", CommandId::TransbackEnabled},
        {"SetTabHT", CommandId::SetTabHT},
        {"SetTabTR", CommandId::SetTabTR},
        {"SetTabBL", CommandId::SetTabBL},
        {"SetTabBR", CommandId::SetTabBR},
        {"SetTabTL", CommandId::SetTabTL},
        {"SetScopeV", CommandId::SetScopeV},
        {"SetScopeH", CommandId::SetScopeH},
        {"ToggleBlur", CommandId::ToggleBlur},
        {"ToggleWithPlugins", CommandId::ToggleWithPlugins},
        {"Edit", CommandId::Edit},
        {"About", CommandId::About},
        {"ToggleRecord", CommandId::ToggleRecord},
    };
    for (const auto& [word, id] : words) {
        const Command command = matchCommand(("@ZembritInternal " + std::string(word)).c_str());
        EXPECT_EQ(command.id, id) << word;
        EXPECT_FALSE(command.hasNumber) << word;
        EXPECT_EQ(idOf(("@ZembritInternal " + std::string(word) + "x").c_str()), CommandId::None) << word;
    }
}

TEST(MatchCommand, NumericWordsAreCaseSensitiveSubstrings) {
    const std::tuple<const char*, CommandId, int32_t> cases[] = {
        {"SetFPS 30", CommandId::SetFPS, 30},
        {"SetBufferSize 40", CommandId::SetBuff, 40},
        {"SetKHz 44", CommandId::SetKHz, 44},
        {"SetBit 8", CommandId::SetBit, 8},
        {"SetBlurAlpha 300", CommandId::SetBlurAlpha, 300},
        {"SetScopeWidth 3", CommandId::SetScopeWidth, 3},
        {"xxSetScopeWidth -2", CommandId::SetScopeWidth, -2},
        {"SetBlurAlphaSetScopeWidth 3", CommandId::SetBlurAlpha, 3},
        {"SetFPS 7 SetKHz", CommandId::SetKHz, 7},
        {"SetKHz 1 2", CommandId::SetKHz, 1},
    };
    for (const auto& [word, id, number] : cases) {
        const Command command = matchCommand(("@ZembritInternal " + std::string(word)).c_str());
        EXPECT_EQ(command.id, id) << word;
        EXPECT_TRUE(command.hasNumber) << word;
        EXPECT_EQ(command.number, number) << word;
    }
    EXPECT_EQ(idOf("@ZembritInternal setfps 30"), CommandId::None);
}

TEST(MatchCommand, NumericWordWithoutSpaceHasNoArgument) {
    const Command command = matchCommand("@ZembritInternal SetFPS");
    EXPECT_EQ(command.id, CommandId::SetFPS);
    EXPECT_FALSE(command.hasNumber);
    EXPECT_FALSE(matchCommand("@ZembritInternal SetKHz44").hasNumber);
}

TEST(MatchCommand, TransparencyAlphaNeedsItsTrailingSpace) {
    for (const char* text : {"@ZembritInternal TransparencyAlpha 300", "@ZembritInternal transparencyalpha 300"}) {
        const Command command = matchCommand(text);
        EXPECT_EQ(command.id, CommandId::TransparencyAlpha) << text;
        EXPECT_TRUE(command.hasNumber);
        EXPECT_EQ(command.number, 300);
    }
    const Command empty = matchCommand("@ZembritInternal TransparencyAlpha ");
    EXPECT_EQ(empty.id, CommandId::TransparencyAlpha);
    EXPECT_EQ(empty.number, 0);
    EXPECT_EQ(idOf("@ZembritInternal TransparencyAlpha"), CommandId::None);
    EXPECT_EQ(idOf("@ZembritInternal TransparencyAlpha\t5"), CommandId::None);
}

TEST(ParseCommandNumber, SignDigitsAndSaturation) {
    EXPECT_EQ(parseCommandNumber("  -12abc"), -12);
    EXPECT_EQ(parseCommandNumber("\t\n+7"), 7);
    EXPECT_EQ(parseCommandNumber("abc"), std::nullopt);
    EXPECT_EQ(parseCommandNumber("-"), std::nullopt);
    EXPECT_EQ(parseCommandNumber("+-3"), std::nullopt);
    EXPECT_EQ(parseCommandNumber("1 2"), 1);
    EXPECT_EQ(parseCommandNumber(""), std::nullopt);
    EXPECT_EQ(parseCommandNumber(nullptr), std::nullopt);
    EXPECT_EQ(parseCommandNumber("-0"), 0);
    EXPECT_EQ(parseCommandNumber("2147483647"), INT_MAX);
    EXPECT_EQ(parseCommandNumber("2147483648"), INT_MAX);
    EXPECT_EQ(parseCommandNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(parseCommandNumber("-2147483649"), INT_MIN);
    EXPECT_EQ(parseCommandNumber("4294967297"), INT_MAX);
    EXPECT_EQ(parseCommandNumber("99999999999999999999"), INT_MAX);
}

// A number too large for 32 bits saturates; one with no digits is no number,
// so its command is ignored rather than taken as 0.
TEST(MatchCommand, ArgumentsSaturateAndAnArgumentWithoutDigitsIsNone) {
    const std::tuple<const char*, int32_t> numbers[] = {{"SetFPS -2147483649", INT_MIN},
                                                        {"SetBuff 99999999999999999999", INT_MAX}};
    for (const auto& [word, number] : numbers) {
        const Command command = matchCommand(("@ZembritInternal " + std::string(word)).c_str());
        EXPECT_TRUE(command.hasNumber) << word;
        EXPECT_EQ(command.number, number) << word;
    }
    for (const char* word : {"TransparencyAlpha ", "SetFPS -", "SetKHz  x"}) {
        const Command command = matchCommand(("@ZembritInternal " + std::string(word)).c_str());
        EXPECT_NE(command.id, CommandId::None) << word;
        EXPECT_FALSE(command.hasNumber) << word;
    }
}

TEST(MatchCommand, SetSourceCarriesTheWordAfterOneSpace) {
    const Command command = matchCommand("@ZembritInternal setsource  output");
    EXPECT_EQ(command.id, CommandId::SetSource);
    EXPECT_STREQ(command.word, "setsource  output");
    EXPECT_EQ(idOf("@ZembritInternal SetSourceoutput"), CommandId::None);
    EXPECT_EQ(idOf("@ZembritInternal SetSource"), CommandId::None);
    EXPECT_STREQ(matchCommand("@ZembritInternal setdevice In: Mic").word, "setdevice In: Mic");
    EXPECT_EQ(idOf("@ZembritInternal SetDevice"), CommandId::SetDevice);
}

// A name holding a numeric word is still a name; the same words not
// followed by a space keep going to the rows that matched them before.
TEST(MatchCommand, NameWordThenASpaceTakesTheWholeRestWhateverItHolds) {
    const std::pair<const char*, CommandId> named[] = {
        {"SetDevice Mic SetBit 8", CommandId::SetDevice},
        {"setdevice  Mic SetFPS 1", CommandId::SetDevice},
        {"SetSource SetBufferSize 40", CommandId::SetSource},
    };
    for (const auto& [word, id] : named) {
        const std::string text = "@ZembritInternal " + std::string(word);
        const Command command = matchCommand(text.c_str());
        EXPECT_EQ(command.id, id) << word;
        EXPECT_STREQ(command.word, word);
    }
    EXPECT_EQ(idOf("@ZembritInternal SetDevicexSetBit 8"), CommandId::SetBit);
    EXPECT_EQ(idOf("@ZembritInternal SetDevice\tSetBit 8"), CommandId::SetBit);
    EXPECT_EQ(idOf("@ZembritInternal SetSourceSetFPS 1"), CommandId::SetFPS);
    EXPECT_EQ(idOf("@ZembritInternal xxSetBit 8"), CommandId::SetBit);
    EXPECT_EQ(idOf("@ZembritInternal SetDevicex"), CommandId::SetDevice);
}

// The view's words are whole; a numeric or name word around one keeps its row.
TEST(MatchCommand, ViewAndMeterWordsTakeNothingFromOlderRows) {
    const std::pair<const char*, CommandId> cases[] = {{"setview SPECTRUM", CommandId::SetViewSpectrum},
                                                       {"SetView trace", CommandId::SetViewTrace},
                                                       {"Meter", CommandId::Meter},
                                                       {"SetView spectrum ", CommandId::None},
                                                       {"Meters", CommandId::None},
                                                       {"SetView SetFPS 30", CommandId::SetFPS},
                                                       {"MeterSetDelay 50", CommandId::SetDelay},
                                                       {"SetDevice Meter", CommandId::SetDevice}};
    for (const auto& [word, id] : cases) EXPECT_EQ(idOf(("@ZembritInternal " + std::string(word)).c_str()), id) << word;
}

}  // namespace
}  // namespace zembrit
