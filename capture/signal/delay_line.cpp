#include "capture/signal/delay_line.h"

#include <algorithm>

namespace zembrit {

void DelayLine::prepare(int32_t delayMs, int32_t frameIntervalMs) {
    delayMs_ = delayMs;
    const int32_t slots = std::clamp(delayMs / std::max(frameIntervalMs, 1) + 2, 2, kMostSlots);
    slots_.assign(static_cast<size_t>(slots), Slot{});
}

// A full line overwrites its newest picture rather than its oldest, so the
// delay holds however many pictures come.
DelayLine::Slot& DelayLine::slotToWrite() {
    if (held_ == slots_.size()) return slots_[(oldest_ + held_ - 1) % slots_.size()];
    ++held_;
    return slots_[(oldest_ + held_ - 1) % slots_.size()];
}

void DelayLine::push(uint32_t tick, const TracePicture& made, int32_t delayMs, int32_t frameIntervalMs) {
    if (slots_.empty()) prepare(delayMs, frameIntervalMs);
    Slot& slot = slotToWrite();
    slot.tick = tick;
    copyInto(made, slot.picture);
}

bool DelayLine::publishDue(uint32_t now, TracePicture& shown) {
    size_t due = slots_.size();
    while (held_ > 0 && static_cast<int32_t>(now - slots_[oldest_].tick) >= delayMs_) {
        due = oldest_;
        oldest_ = (oldest_ + 1) % slots_.size();
        --held_;
    }
    if (due == slots_.size()) return false;
    copyInto(slots_[due].picture, shown);
    return true;
}

}  // namespace zembrit
