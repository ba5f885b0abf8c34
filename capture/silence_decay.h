#pragma once
#include <array>
#include <cstdint>

#include "capture/trace_points.h"

namespace zembrit {

// A source that stops delivering (loopback while nothing plays) would leave
// its last trace standing. Once no samples have come for two frame
// intervals, the trace glides to the centre line over kGlideMs and stays
// there; the next samples take over at once. Runs on the user-interface side.
class SilenceDecay {
public:
    static constexpr uint32_t kGlideMs = 250;

    // now and lastSampleTick are millisecond ticks (wrapping); true when row
    // changed and wants a repaint.
    bool step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs, TraceRow& row);

private:
    void begin(uint32_t now, uint32_t lastSampleTick, const TraceRow& row);

    bool gliding_ = false;
    bool flat_ = false;
    uint32_t glideStart_ = 0;
    uint32_t quietSince_ = 0;
    std::array<int32_t, kTraceCapacity> from_{};
};

}  // namespace zembrit
