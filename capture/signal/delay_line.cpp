#include "capture/signal/delay_line.h"

#include <algorithm>

namespace zembrit {

void DelayLine::prepare(int32_t delayMs, int32_t frameIntervalMs, bool withFigure) {
    delayMs_ = delayMs;
    const int32_t slots = std::clamp(delayMs / std::max(frameIntervalMs, 1) + 2, 2, kMostSlots);
    slots_.assign(static_cast<size_t>(slots), Slot{});
    if (withFigure) pairs_.assign(static_cast<size_t>(slots) * kMaxXyPairs, 0);
}

// A full line overwrites its newest picture rather than its oldest, so the
// delay holds however many pictures come.
DelayLine::Slot& DelayLine::slotToWrite() {
    if (held_ == slots_.size()) return slots_[(oldest_ + held_ - 1) % slots_.size()];
    ++held_;
    return slots_[(oldest_ + held_ - 1) % slots_.size()];
}

void DelayLine::push(uint32_t tick, int32_t delayMs, int32_t frameIntervalMs, bool withFigure) {
    if (slots_.empty()) prepare(delayMs, frameIntervalMs, withFigure);
    Slot& slot = slotToWrite();
    slot.tick = tick;
    for (int i = 0; i < kTraceCapacity; ++i) {
        slot.left[i] = left[i];
        slot.right[i] = right[i];
    }
    if (pairs_.empty()) return;
    slot.count = std::clamp<int32_t>(figure.count, 0, kMaxXyPairs);
    slot.gain = figure.gain;
    uint32_t* pairs = pairs_.data() + (&slot - slots_.data()) * kMaxXyPairs;
    for (int32_t i = 0; i < slot.count; ++i) pairs[i] = figure.pairs[i];
}

void DelayLine::copyOut(size_t index, TraceRow& shownLeft, TraceRow& shownRight, XyFigure* shownFigure) const {
    const Slot& slot = slots_[index];
    for (int i = 0; i < kTraceCapacity; ++i) {
        shownLeft[i] = slot.left[i];
        shownRight[i] = slot.right[i];
    }
    if (!shownFigure || pairs_.empty()) return;
    const uint32_t* pairs = pairs_.data() + index * kMaxXyPairs;
    for (int32_t i = 0; i < slot.count; ++i) shownFigure->pairs[i] = pairs[i];
    shownFigure->gain = slot.gain;
    shownFigure->count = slot.count;
}

bool DelayLine::publishDue(uint32_t now, TraceRow& shownLeft, TraceRow& shownRight, XyFigure* shownFigure) {
    size_t due = slots_.size();
    while (held_ > 0 && static_cast<int32_t>(now - slots_[oldest_].tick) >= delayMs_) {
        due = oldest_;
        oldest_ = (oldest_ + 1) % slots_.size();
        --held_;
    }
    if (due == slots_.size()) return false;
    copyOut(due, shownLeft, shownRight, shownFigure);
    return true;
}

}  // namespace zembrit
