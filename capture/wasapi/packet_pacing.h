#pragma once
#include <algorithm>
#include <cstdint>

namespace zembrit {

// How long the WASAPI engine waits for packets before it looks by itself
// (loopback may raise no events at all). While nothing arrives the wait
// doubles up to kRestingMs, so a source with nothing to play costs a few
// wake-ups a second; the first packet brings it back to kFirstMs.
class PacketPacing {
public:
    static constexpr uint32_t kFirstMs = 30;
    static constexpr uint32_t kRestingMs = 240;

    uint32_t waitMs() const { return waitMs_; }
    void afterLooking(bool packetsArrived) { waitMs_ = packetsArrived ? kFirstMs : std::min(waitMs_ * 2, kRestingMs); }

private:
    uint32_t waitMs_ = kFirstMs;
};

}  // namespace zembrit
