#pragma once
#include <cstdint>

namespace zembrit {

// The rectangle around every monitor, in pixels; 0 where the platform
// cannot say.
struct ScreenExtent {
    int32_t width;
    int32_t height;
};

ScreenExtent virtualScreen();

}  // namespace zembrit
