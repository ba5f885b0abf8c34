#pragma once
// The visual delay: loopback taps the mix before the output's own latency,
// so with a slow output the trace would run ahead of what is heard. Each
// picture the capture makes (the rows and, in X-Y, the figure) is held with
// the tick it was made at and shown once the delay has passed. One per
// running capture, used by its capture thread alone; it allocates once, at
// its first picture.
#include <array>
#include <cstdint>
#include <vector>

#include "capture/signal/trace_points.h"
#include "capture/signal/xy_figure.h"

namespace zembrit {

class DelayLine {
public:
    // More pictures than this within the delay share slots: the newest wins.
    static constexpr int32_t kMostSlots = 256;

    // The pictures made by the capture, before they are shown.
    TraceRow left{}, right{};
    XyFigure figure;

    // Holds the picture now in left, right (and figure) as made at tick.
    void push(uint32_t tick, int32_t delayMs, int32_t frameIntervalMs, bool withFigure);
    // Copies the newest picture due at now into the shown rows (and figure);
    // true when there was one.
    bool publishDue(uint32_t now, TraceRow& shownLeft, TraceRow& shownRight, XyFigure* shownFigure);

private:
    struct Slot {
        uint32_t tick = 0;
        std::array<int32_t, kTraceCapacity> left{}, right{};
        int32_t count = 0;
        float gain = 1.0f;
    };

    void prepare(int32_t delayMs, int32_t frameIntervalMs, bool withFigure);
    Slot& slotToWrite();
    void copyOut(size_t index, TraceRow& shownLeft, TraceRow& shownRight, XyFigure* shownFigure) const;

    std::vector<Slot> slots_;
    std::vector<uint32_t> pairs_;  // kMaxXyPairs a slot, in X-Y only
    size_t oldest_ = 0, held_ = 0;
    int32_t delayMs_ = 0;
};

}  // namespace zembrit
