#include "capture/signal/xy_figure.h"

#include <algorithm>

namespace zembrit {

uint32_t packLevels(int32_t left, int32_t right) {
    return static_cast<uint16_t>(left) | static_cast<uint32_t>(static_cast<uint16_t>(right)) << 16;
}

int32_t leftLevel(uint32_t pair) { return static_cast<int16_t>(pair & 0xFFFF); }

int32_t rightLevel(uint32_t pair) { return static_cast<int16_t>(pair >> 16); }

void storeXyFigure(const SignalWindow& window, XyFigure& figure) {
    const uint32_t available = std::min(sampleCount(window.left), sampleCount(window.right));
    const uint32_t end = std::min(window.start + window.count, available);
    const uint32_t count = std::min<uint32_t>(end > window.start ? end - window.start : 0, kMaxXyPairs);
    for (uint32_t i = 0; i < count; ++i)
        figure.pairs[i] = packLevels(levelAt(window.left, window.start + i), levelAt(window.right, window.start + i));
    figure.count = static_cast<int32_t>(count);
    figure.gain = window.gain;
}

}  // namespace zembrit
