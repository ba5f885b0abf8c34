#include "settings/signal_settings.h"

#include <gtest/gtest.h>

namespace zembrit {
namespace {

TEST(SignalSettings, StoredTextsReadBackAndAnythingElseIsTheDefault) {
    for (bool trigger : {false, true}) EXPECT_EQ(triggerFromText(triggerText(trigger)), trigger);
    for (ChannelMode mode : {ChannelMode::mono, ChannelMode::stereo, ChannelMode::xy})
        EXPECT_EQ(channelsFromText(channelsText(mode)), mode);
    EXPECT_TRUE(triggerFromText("Rising"));
    EXPECT_EQ(channelsFromText("XY"), ChannelMode::xy);
    for (const char* text : {"", "rise", "risingx", "on"}) EXPECT_FALSE(triggerFromText(text)) << text;
    EXPECT_FALSE(triggerFromText(nullptr));
    for (const char* text : {"", "x-y", "stereo ", "left"}) EXPECT_EQ(channelsFromText(text), ChannelMode::mono) << text;
    EXPECT_EQ(channelsFromText(nullptr), ChannelMode::mono);
}

TEST(SignalSettings, RightColourIsAHashAndSixHexDigitsRedFirst) {
    EXPECT_EQ(colorFromHex("#ff8001"), 0x0180FFu);
    EXPECT_EQ(colorFromHex("#A0b0C0"), 0xC0B0A0u);
    for (const char* text : {"", "ff8001", "#ff800", "#ff80011", "#gg8001", "# ff800"})
        EXPECT_FALSE(colorFromHex(text).has_value()) << text;
    EXPECT_FALSE(colorFromHex(nullptr).has_value());
    EXPECT_EQ(halfMix(0xFFF0E8u, 0xA67F5Au), 0xD2B7A1u);
    EXPECT_EQ(halfMix(0x010101u, 0x000000u), 0u);
}

}  // namespace
}  // namespace zembrit
