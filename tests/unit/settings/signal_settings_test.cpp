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
    for (const char* text :
         std::initializer_list<const char*>{"", "risingx", "on", "x-y", "stereo ", "spectrum ", "spectra", nullptr}) {
        EXPECT_FALSE(triggerFromText(text));
        EXPECT_EQ(channelsFromText(text), ChannelMode::mono);
        EXPECT_EQ(viewFromText(text), PictureView::trace);
    }
}

TEST(SignalSettings, RightColourIsAHashAndSixHexDigitsRedFirst) {
    EXPECT_EQ(colorFromHex("#A0b0C1"), 0xC1B0A0u);
    for (const char* text : std::initializer_list<const char*>{"", "ff8001", "#ff800", "#ff80011", "#gg8001", nullptr})
        EXPECT_FALSE(colorFromHex(text).has_value()) << (text ? text : "null");
    EXPECT_EQ(halfMix(0xFFF0E8u, 0xA67F5Au), 0xD2B7A1u);
    EXPECT_EQ(halfMix(0x010101u, 0), 0u);
}

}  // namespace
}  // namespace zembrit
