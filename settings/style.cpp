#include "settings/style.h"

#include <cstring>

namespace zembrit {

StyleValues style;

void reloadStyle() {}
void applyStylePreset(int) {}

COLORREF styleFillColor() {
    COLORREF fill;
    std::memcpy(&fill, style.styleRecord + kStyleRecordFillOffset, sizeof fill);
    return fill;
}

}  // namespace zembrit
