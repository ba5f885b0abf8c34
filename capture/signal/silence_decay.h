#pragma once
#include <cstdint>

#include "capture/signal/trace_picture.h"

namespace zembrit {

// A source that stops delivering (loopback while nothing plays) would leave
// its last picture standing. Once no samples have come for two frame
// intervals, the picture glides to rest over kGlideMs and stays there; the
// next samples take over at once. Runs on the user-interface side.
class SilenceDecay {
public:
    static constexpr uint32_t kGlideMs = 250;

    // now and lastSampleTick are millisecond ticks (wrapping). True when
    // picture changed and wants a repaint.
    bool step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs, TracePicture& picture);
    // Glided all the way and still quiet: nothing will change until samples come.
    bool flat() const { return gliding_ && flat_; }

private:
    bool gliding_ = false;
    bool flat_ = false;
    uint32_t glideStart_ = 0;
    uint32_t quietSince_ = 0;
    HeldPicture from_;  // the picture the glide started from
};

}  // namespace zembrit
