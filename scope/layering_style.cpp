#include "scope/layering_style.h"

namespace zembrit {

namespace {

std::intptr_t withBits(std::intptr_t style, std::intptr_t bits, bool on) { return on ? style | bits : style & ~bits; }

}  // namespace

std::intptr_t layeringStyle(std::intptr_t current, bool floating, bool clickThrough) {
    const std::intptr_t layered = withBits(current, kLayeredStyle, floating);
    return withBits(layered, kClickThroughStyle, floating && clickThrough);
}

}  // namespace zembrit
