#include "capture/signal/silence_decay.h"

namespace zembrit {

bool SilenceDecay::step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs, TracePicture& picture) {
    if (now - lastSampleTick <= 2 * frameIntervalMs) {
        gliding_ = false;
        return false;
    }
    if (!gliding_ || lastSampleTick != quietSince_) {
        gliding_ = true;
        flat_ = false;
        glideStart_ = now;
        quietSince_ = lastSampleTick;
        copyInto(picture, from_);
    }
    if (flat_) return false;
    const uint32_t elapsed = now - glideStart_;
    const uint32_t leftMs = elapsed >= kGlideMs ? 0 : kGlideMs - elapsed;
    glideTowardRest(from_, leftMs, kGlideMs, picture);
    flat_ = leftMs == 0;
    return true;
}

}  // namespace zembrit
