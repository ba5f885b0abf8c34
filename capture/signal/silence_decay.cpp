#include "capture/signal/silence_decay.h"

#include <algorithm>

namespace zembrit {

QuietGlide::Step QuietGlide::step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs) {
    if (now - lastSampleTick <= 2 * frameIntervalMs) {
        gliding_ = false;
        return Step{};
    }
    Step result;
    if (!gliding_ || lastSampleTick != quietSince_) {
        gliding_ = true;
        flat_ = false;
        glideStart_ = now;
        quietSince_ = lastSampleTick;
        result.begins = true;
    }
    if (flat_) return result;
    const uint32_t elapsed = now - glideStart_;
    result.moves = true;
    result.leftMs = elapsed >= kGlideMs ? 0 : kGlideMs - elapsed;
    flat_ = result.leftMs == 0;
    return result;
}

bool SilenceDecay::step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs, TraceRow& row) {
    const QuietGlide::Step glide = glide_.step(now, lastSampleTick, frameIntervalMs);
    if (glide.begins)
        for (int i = 0; i < kTraceCapacity; ++i) from_[i] = row[i];
    if (!glide.moves) return false;
    for (int i = 0; i < kTraceCapacity; ++i) row[i] = glide.scaled(from_[i]);
    return true;
}

bool XyFigureDecay::step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs, XyFigure& figure) {
    const QuietGlide::Step glide = glide_.step(now, lastSampleTick, frameIntervalMs);
    if (glide.begins) {
        count_ = std::clamp<int32_t>(figure.count, 0, kMaxXyPairs);
        for (int i = 0; i < count_; ++i) from_[i] = figure.pairs[i];
    }
    if (!glide.moves) return false;
    for (int i = 0; i < count_; ++i)
        figure.pairs[i] = packLevels(glide.scaled(leftLevel(from_[i])), glide.scaled(rightLevel(from_[i])));
    return true;
}

}  // namespace zembrit
