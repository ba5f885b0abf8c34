#pragma once
#include <cstdint>

#include "capture/signal/trace_points.h"

namespace zembrit {

// What one reduction needs, copied once at its start: the user-interface
// thread may change the settings while the capture thread reduces.
struct ReductionInput {
    const uint8_t* bytes;  // the capture buffer
    uint32_t byteCount;    // bytes the device recorded into it
    int points;            // trace points; clamped to [kMinPoints, kMaxPoints] on use
    int sampleBits;        // depth of the running capture's format
    int32_t dimension;     // pixels across the trace, as TraceShape's
};

// One raw value per 16-byte group into raw[0..points-1] (raw holds kMaxPoints).
// Reads only the first min(byteCount, points * 16) bytes. A group the buffer
// does not reach keeps the value previous shows there now.
void decimate(const ReductionInput& in, const TraceRow& previous, int32_t* raw);

// Smooths raw[0..points-1] into row in place, against row's own previous
// values. points must lie in [kMinPoints, kMaxPoints].
void smooth(const int32_t* raw, int points, TraceRow& row);

// True when more than frameIntervalMs have passed since the last repaint
// request; the unsigned difference survives the tick counter's wrap.
bool repaintDue(uint32_t now, uint32_t lastRedrawTick, uint32_t frameIntervalMs);

// Decimates and smooths one buffer into row. A buffer with no bytes recorded
// leaves row as it is, so the caller need not test the byte count first.
void reduceInto(const ReductionInput& in, TraceRow& row);

// As reduceInto, from the same bytes, at gain times the fixed scale and with
// the chosen samples' full 16 bits: magnified 8-bit steps would show as
// stairs. gain must be a number; values that would not fit 32 bits are
// saturated.
void reduceWithGain(const ReductionInput& in, float gain, TraceRow& row);

}  // namespace zembrit
