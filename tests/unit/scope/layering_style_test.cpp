#include "scope/layering_style.h"

#include <gtest/gtest.h>

namespace zembrit {
namespace {

// Top-most and a client edge stand for the bits the scope leaves alone.
TEST(LayeringStyle, ClicksPassOnlyThroughAFloatingWindowAndOtherBitsStay) {
    constexpr std::intptr_t other = 0x8 | 0x200, both = kLayeredStyle | kClickThroughStyle;
    EXPECT_EQ(layeringStyle(other, true, true), other | both);
    EXPECT_EQ(layeringStyle(other | kClickThroughStyle, true, false), other | kLayeredStyle);
    EXPECT_EQ(layeringStyle(other | both, false, true), other);
}

}  // namespace
}  // namespace zembrit
