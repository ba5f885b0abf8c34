#pragma once
#include <array>
#include <cstdint>

#include "capture/signal/relaxed.h"
#include "settings/settings_rules.h"

namespace zembrit {

constexpr int kTraceCapacity = kMaxPoints + 1;
constexpr int kBytesPerPoint = 16;

// Offsets in pixels from the trace's centre line, each element whole: a
// paint may read a row while a capture thread writes it.
using TraceRow = std::array<Relaxed<int32_t>, kTraceCapacity>;

}  // namespace zembrit
