#pragma once
#include <algorithm>
#include <array>
#include <cstdint>

#include "capture/signal/trace_points.h"
#include "capture/signal/xy_figure.h"

namespace zembrit {

// Whether a WASAPI source's due repaint is worth asking for: only when what
// it shows differs from what the last request showed, and with trails (motion
// blur, or the beam's glow) for as many more repaints as they take to settle
// on it (255 covers every alpha: the slowest blend moves a byte one step a
// frame, and the longest glow fades below sight within it). A source that has
// nothing new to play then costs no paint at all. One per running source,
// used by its engine's thread alone.
class RepaintGate {
public:
    static constexpr int kRepaintsToSettle = 255;

    // The rows (and, in X-Y, the figure) just reduced. forced: something
    // else changed the rows since, so they count as new.
    bool worthRequesting(const TraceRow& left, const TraceRow& right, const XyFigure* figure, bool trails,
                         bool forced) {
        const bool changed = remember(left, left_) | remember(right, right_) | (figure && remember(*figure)) | forced;
        if (changed) {
            settleLeft_ = trails ? kRepaintsToSettle : 0;
            return true;
        }
        if (settleLeft_ == 0) return false;
        --settleLeft_;
        return true;
    }

private:
    template <class Row, class Copy>
    static bool remember(const Row& row, Copy& copy) {
        bool changed = false;
        for (size_t i = 0; i < copy.size(); ++i) {
            const auto value = row[i].load();
            changed |= value != copy[i];
            copy[i] = value;
        }
        return changed;
    }

    bool remember(const XyFigure& figure) {
        const int32_t count = std::clamp<int32_t>(figure.count, 0, kMaxXyPairs);
        const bool changed = count != count_ || figure.gain.load() != gain_;
        count_ = count;
        gain_ = figure.gain;
        bool pairsChanged = false;
        for (int32_t i = 0; i < count; ++i) {
            const uint32_t pair = figure.pairs[i];
            pairsChanged |= pair != pairs_[i];
            pairs_[i] = pair;
        }
        return changed || pairsChanged;
    }

    std::array<int32_t, kTraceCapacity> left_{}, right_{};
    std::array<uint32_t, kMaxXyPairs> pairs_{};
    int32_t count_ = 0;
    float gain_ = 1.0f;
    int settleLeft_ = 0;
};

}  // namespace zembrit
