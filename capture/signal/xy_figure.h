#pragma once
#include <array>
#include <cstdint>

#include "capture/signal/relaxed.h"
#include "capture/signal/trace_points.h"

// The X-Y figure as the capture thread leaves it for the paint: every sample
// pair of one span, each pair one whole 32-bit value, so a paint may mix
// two buffers' pairs but never tears one.
namespace zembrit {

// The longest span: 8-bit samples of the largest trace.
constexpr int kMaxXyPairs = kMaxPoints * kBytesPerPoint;

struct XyFigure {
    std::array<Relaxed<uint32_t>, kMaxXyPairs> pairs;  // left in the low half, right in the high half
    Relaxed<int32_t> count{0};
    Relaxed<float> gain{1.0f};  // over the fixed scale
};

uint32_t packLevels(int32_t left, int32_t right);
int32_t leftLevel(uint32_t pair);
int32_t rightLevel(uint32_t pair);

}  // namespace zembrit
