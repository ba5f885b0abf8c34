// The latest picture and the feed that writes it.
#include "capture/floor/trace_feed.h"

#include <windows.h>

#include "capture/floor/core_options.h"
#include "capture/latest_trace.h"
#include "capture/signal/reduce.h"
#include "settings/settings_store.h"

namespace zembrit {
namespace {

TracePicture latest;
Relaxed<uint32_t> lastRepaintTick;  // written by the running capture's thread

bool claimRepaintWhenDue() {
    const auto interval = static_cast<uint32_t>(settings().frameIntervalMs.load());
    if (!repaintDue(GetTickCount(), lastRepaintTick, interval)) return false;
    lastRepaintTick = GetTickCount();
    return true;
}

}  // namespace

const TracePicture& latestPicture() { return latest; }
TracePicture& writablePicture() { return latest; }

void resetTrace() {
    lastRepaintTick = GetTickCount();
    clear(latest);
}

bool TraceFeed::show(const SampleBuffer& buffer) {
    const TraceShape shape = traceShapeOf(settings());
    if (options_.delayMs <= 0) {
        traceBuffer(buffer, shape, options_, state_, latest);
        return claimRepaintWhenDue();
    }
    traceBuffer(buffer, shape, options_, state_, made_);
    return showDelayed();
}

// Each due picture is held; the one whose delay has passed is shown.
bool TraceFeed::showDelayed() {
    if (!claimRepaintWhenDue()) return false;
    const uint32_t now = GetTickCount();
    delay_.push(now, made_, options_.delayMs, settings().frameIntervalMs);
    return delay_.publishDue(now, latest);
}

}  // namespace zembrit
