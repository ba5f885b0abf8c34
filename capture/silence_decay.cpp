#include "capture/silence_decay.h"

namespace zembrit {

void SilenceDecay::begin(uint32_t now, uint32_t lastSampleTick, const TraceRow& row) {
    gliding_ = true;
    flat_ = false;
    glideStart_ = now;
    quietSince_ = lastSampleTick;
    for (int i = 0; i < kTraceCapacity; ++i) from_[i] = row[i];
}

bool SilenceDecay::step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs, TraceRow& row) {
    if (now - lastSampleTick <= 2 * frameIntervalMs) {
        gliding_ = false;
        return false;
    }
    if (!gliding_ || lastSampleTick != quietSince_) begin(now, lastSampleTick, row);
    if (flat_) return false;
    const uint32_t elapsed = now - glideStart_;
    const int64_t left = elapsed >= kGlideMs ? 0 : kGlideMs - elapsed;
    for (int i = 0; i < kTraceCapacity; ++i) row[i] = static_cast<int32_t>(from_[i] * left / kGlideMs);
    flat_ = left == 0;
    return true;
}

}  // namespace zembrit
