#pragma once
#include <array>
#include <cstdint>

#include "settings/relaxed.h"
#include "settings/settings_rules.h"

namespace zembrit {

constexpr int kTraceCapacity = kMaxPoints + 1;
constexpr int kBytesPerPoint = 16;

// Offsets in pixels from the trace's centre line; written by the capture
// thread, read by the paint, each element whole.
using TraceRow = std::array<Relaxed<int32_t>, kTraceCapacity>;

// The row the capture wrote last: all 0 at load. With two traces it holds
// the left channel, and the right one has a row of its own.
const TraceRow& latestTrace();
const TraceRow& latestRightTrace();

}  // namespace zembrit
