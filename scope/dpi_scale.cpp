#include "scope/dpi_scale.h"

#include "settings/saturate.h"

namespace zembrit {

namespace {

constexpr uint32_t kLowestDpi = 24;
constexpr uint32_t kHighestDpi = 9600;

int64_t usableDpi(uint32_t dpi) {
    if (dpi == 0) return kBaseDpi;
    return dpi < kLowestDpi ? kLowestDpi : (dpi > kHighestDpi ? kHighestDpi : dpi);
}

// value × numerator ÷ denominator, rounded half away from zero; both
// factors are positive and small enough that nothing here overflows.
int32_t scaled(int32_t value, int64_t numerator, int64_t denominator) {
    const int64_t product = int64_t{value} * numerator;
    const int64_t magnitude = (2 * (product < 0 ? -product : product) + denominator) / (2 * denominator);
    return saturateToInt32(product < 0 ? -magnitude : magnitude);
}

}  // namespace

int32_t shownFromStored(int32_t stored, uint32_t dpi) { return scaled(stored, usableDpi(dpi), kBaseDpi); }

int32_t storedFromShown(int32_t shown, uint32_t dpi) { return scaled(shown, kBaseDpi, usableDpi(dpi)); }

int32_t shownLength(int32_t stored, uint32_t dpi) {
    const int32_t shown = shownFromStored(stored, dpi);
    if (shown != 0 || stored == 0) return shown;
    return stored > 0 ? 1 : -1;
}

}  // namespace zembrit
