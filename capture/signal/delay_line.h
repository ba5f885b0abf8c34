#pragma once
// The visual delay: loopback taps the mix before the output's own latency,
// so with a slow output the trace would run ahead of what is heard. Each
// picture the capture makes is held with the tick it was made at and shown
// once the delay has passed. One per running capture, used by its capture
// thread alone; it allocates once, at its first picture.
#include <cstdint>
#include <vector>

#include "capture/signal/trace_picture.h"

namespace zembrit {

class DelayLine {
public:
    // More pictures than this within the delay share slots: the newest wins.
    static constexpr int32_t kMostSlots = 256;

    // Holds made, as made at tick.
    void push(uint32_t tick, const TracePicture& made, int32_t delayMs, int32_t frameIntervalMs);
    // Copies the newest picture due at now into shown; true when there was one.
    bool publishDue(uint32_t now, TracePicture& shown);

private:
    struct Slot {
        uint32_t tick = 0;
        HeldPicture picture;
    };

    void prepare(int32_t delayMs, int32_t frameIntervalMs);
    Slot& slotToWrite();

    std::vector<Slot> slots_;
    size_t oldest_ = 0, held_ = 0;
    int32_t delayMs_ = 0;
};

}  // namespace zembrit
