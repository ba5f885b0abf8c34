#pragma once
#include <array>
#include <cstdint>

#include "capture/signal/relaxed.h"

namespace zembrit {

// The trace's point count is held within these.
inline constexpr int kMinPoints = 10;
inline constexpr int kMaxPoints = 100;

constexpr int kTraceCapacity = kMaxPoints + 1;
constexpr int kBytesPerPoint = 16;

// Offsets in pixels from the trace's centre line, each element whole: a
// paint may read a row while a capture thread writes it.
using TraceRow = std::array<Relaxed<int32_t>, kTraceCapacity>;

}  // namespace zembrit
