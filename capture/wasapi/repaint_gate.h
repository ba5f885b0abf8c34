#pragma once
#include "capture/signal/trace_picture.h"

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

    // The picture just made. forced: something else changed it since, so it
    // counts as new.
    bool worthRequesting(const TracePicture& picture, bool trails, bool forced) {
        if (changedSince(picture, last_) || forced) {
            settleLeft_ = trails ? kRepaintsToSettle : 0;
            return true;
        }
        if (settleLeft_ == 0) return false;
        --settleLeft_;
        return true;
    }

private:
    HeldPicture last_;
    int settleLeft_ = 0;
};

}  // namespace zembrit
