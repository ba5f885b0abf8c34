#include "capture/signal/xy_figure.h"

namespace zembrit {

uint32_t packLevels(int32_t left, int32_t right) {
    return static_cast<uint16_t>(left) | static_cast<uint32_t>(static_cast<uint16_t>(right)) << 16;
}

int32_t leftLevel(uint32_t pair) { return static_cast<int16_t>(pair & 0xFFFF); }

int32_t rightLevel(uint32_t pair) { return static_cast<int16_t>(pair >> 16); }

}  // namespace zembrit
