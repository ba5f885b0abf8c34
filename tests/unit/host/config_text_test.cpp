#include "host/config_text.h"

#include <gtest/gtest.h>

#include <string>

namespace zembrit::shellfile {
namespace {

using namespace std::string_literals;

const std::string kFile =
    "# Zembrit settings\r\n"
    "! Zembrit.plugin.x: 1\n"
    "   #Zembrit.plugin.x: 2\n"
    "free text without separator\n"
    "  ZEMBRIT.Plugin.X :\t 35 \t\r\n"
    "Zembrit.plugin.x: 99\n"
    "Zembrit.plugin.update.url:\n"
    "Zembrit.plugin.style.ScopeColor: menu.frame.color";

TEST(ConfigTextLookup, FirstSettingLineMatchesIgnoringCaseAndColon) {
    EXPECT_EQ(lookupValue(kFile, "Zembrit.plugin.x:"), "35");
    EXPECT_EQ(lookupValue(kFile, "zembrit.plugin.x"), "35");
    EXPECT_EQ(lookupValue(kFile, "Zembrit.plugin.update.url:"), "");
    EXPECT_EQ(lookupValue(kFile, "Zembrit.plugin.style.scopecolor:"), "menu.frame.color");
    EXPECT_EQ(lookupValue(kFile, "Zembrit.plugin.y:"), std::nullopt);
    EXPECT_EQ(lookupValue(kFile, "free text without separator"), std::nullopt);
    EXPECT_EQ(lookupValue("", "Zembrit.plugin.x:"), std::nullopt);
}

TEST(ConfigTextLookup, BinaryBytesAreOrdinaryCharacters) {
    const std::string text = "junk\0: \xff\x01\n\xfe\xfe\xfe\nZembrit.plugin.y: 7\0tail\n"s;
    EXPECT_EQ(lookupValue(text, "junk\0:"s), "\xff\x01");
    EXPECT_EQ(lookupValue(text, "junk"), std::nullopt);
    EXPECT_EQ(lookupValue(text, "Zembrit.plugin.y:"), "7\0tail"s);
}

TEST(ConfigTextWrite, ReplacesFirstMatchKeepingEveryOtherByte) {
    const std::string written = withValue(kFile, "zembrit.plugin.x:", "-4");
    const std::string expected =
        "# Zembrit settings\r\n"
        "! Zembrit.plugin.x: 1\n"
        "   #Zembrit.plugin.x: 2\n"
        "free text without separator\n"
        "  ZEMBRIT.Plugin.X : -4\r\n"
        "Zembrit.plugin.x: 99\n"
        "Zembrit.plugin.update.url:\n"
        "Zembrit.plugin.style.ScopeColor: menu.frame.color";
    EXPECT_EQ(written, expected);
    EXPECT_EQ(lookupValue(written, "Zembrit.plugin.x:"), "-4");

    const std::string lastLine = withValue(kFile, "Zembrit.plugin.style.ScopeColor:", "menu.hilite.color");
    EXPECT_EQ(lastLine, kFile.substr(0, kFile.size() - 16) + "menu.hilite.color");
    EXPECT_EQ(withValue(kFile, "Zembrit.plugin.style.ScopeColor", ""), kFile.substr(0, kFile.size() - 17));
}

TEST(ConfigTextWrite, AppendsMissingKeyOnItsOwnLine) {
    EXPECT_EQ(withValue("", "Zembrit.plugin.y:", "5"), "Zembrit.plugin.y: 5\n");
    EXPECT_EQ(withValue("a: 1", "Zembrit.plugin.y", "5"), "a: 1\nZembrit.plugin.y: 5\n");
    EXPECT_EQ(withValue("a: 1\r\n", "b:", ""), "a: 1\r\nb:\n");
    const std::string binary = "\0\xff:\n"s;
    EXPECT_EQ(withValue(binary, "b:", "x"), binary + "b: x\n");
}

TEST(ConfigTextWrite, ValueCannotInjectLines) {
    const std::string written = withValue("a: 1\n", "a:", "2\nZembrit.plugin.x: 7");
    EXPECT_EQ(written, "a: 2\n");
    EXPECT_EQ(lookupValue(written, "Zembrit.plugin.x:"), std::nullopt);
}

TEST(ConfigTextParse, BooleansAcceptKnownWordsOnly) {
    for (const char* word : {"true", "TRUE", "Yes", "1"}) {
        bool value = false;
        EXPECT_TRUE(parseBoolValue(word, value) && value) << word;
    }
    for (const char* word : {"false", "False", "NO", "0"}) {
        bool value = true;
        EXPECT_TRUE(parseBoolValue(word, value) && !value) << word;
    }
    for (const std::string& word : {""s, "tru"s, "truex"s, "2"s, "true\0"s}) {
        bool value = true;
        EXPECT_FALSE(parseBoolValue(word, value)) << word;
        EXPECT_TRUE(value);
    }
}

TEST(ConfigTextParse, IntegersAreWholeAndWithinRange) {
    const std::pair<const char*, int32_t> good[] = {
        {"0", 0}, {"+25", 25}, {"-3", -3}, {"007", 7}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}};
    for (const auto& [text, expected] : good) {
        int32_t value = 1;
        EXPECT_TRUE(parseIntValue(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const std::string& text : {""s, "-"s, "+-5"s, "12px"s, "0x10"s, " 5"s, "5\0"s, "2147483648"s, "-2147483649"s,
                                    "99999999999999999999999"s}) {
        int32_t value = 1;
        EXPECT_FALSE(parseIntValue(text, value)) << text;
        EXPECT_EQ(value, 1) << text;
    }
}

TEST(ConfigTextParse, ColoursPutRedInLowByteAndRoundTrip) {
    uint32_t color = 0;
    ASSERT_TRUE(parseColorValue("#FF8001", color));
    EXPECT_EQ(color, 0x000180FFu);
    EXPECT_EQ(formatColorValue(color), "#ff8001");
    EXPECT_EQ(formatColorValue(0xFF123456u), "#563412");
    for (const uint32_t sample : {0x00000000u, 0x00FFFFFFu, 0x00E600FFu, 0x000A0B0Cu}) {
        ASSERT_TRUE(parseColorValue(formatColorValue(sample), color));
        EXPECT_EQ(color, sample);
    }
    for (const std::string& text : {""s, "#fff"s, "ff8001"s, "#ff80011"s, "#gg0000"s,
                                    "#ff\0"
                                    "001"s}) {
        color = 7;
        EXPECT_FALSE(parseColorValue(text, color)) << text;
        EXPECT_EQ(color, 7u);
    }
}

}  // namespace
}  // namespace zembrit::shellfile
