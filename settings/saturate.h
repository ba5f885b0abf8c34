#pragma once
#include <cstdint>
#include <limits>

namespace zembrit {

// Sums and differences of 32-bit values are taken in 64 bits and brought
// back to the nearest value a 32-bit field can hold.
inline int32_t saturateToInt32(int64_t value) {
    constexpr int64_t lowest = std::numeric_limits<int32_t>::min();
    constexpr int64_t highest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value < lowest ? lowest : (value > highest ? highest : value));
}

}  // namespace zembrit
