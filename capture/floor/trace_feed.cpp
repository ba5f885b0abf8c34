// The latest trace and the feed that writes it.
#include "capture/floor/trace_feed.h"

#include <windows.h>

#include "capture/floor/core_options.h"
#include "capture/latest_trace.h"
#include "capture/signal/reduce.h"
#include "settings/settings_store.h"

namespace zembrit {
namespace {

TraceRow row{};
TraceRow rightRow{};
XyFigure figure;
Relaxed<uint32_t> lastRepaintTick;  // written by the running capture's thread

bool claimRepaintWhenDue() {
    const auto interval = static_cast<uint32_t>(settings().frameIntervalMs.load());
    if (!repaintDue(GetTickCount(), lastRepaintTick, interval)) return false;
    lastRepaintTick = GetTickCount();
    return true;
}

}  // namespace

const TraceRow& latestTrace() { return row; }
const TraceRow& latestRightTrace() { return rightRow; }
const XyFigure& latestXyFigure() { return figure; }
TracePicture writableTrace() { return {row, rightRow, figure}; }

void resetTrace() {
    lastRepaintTick = GetTickCount();
    for (auto& point : row) point = 0;
    for (auto& point : rightRow) point = 0;
    figure.count = 0;
}

bool TraceFeed::show(const SignalSource& source) {
    const TraceShape shape = traceShapeOf(settings());
    if (options_.delayMs <= 0) {
        traceBuffer(source, shape, options_, state_, writableTrace());
        return claimRepaintWhenDue();
    }
    traceBuffer(source, shape, options_, state_, {delay_.left, delay_.right, delay_.figure});
    return showDelayed();
}

// Each due picture is held; the one whose delay has passed is shown.
bool TraceFeed::showDelayed() {
    if (!claimRepaintWhenDue()) return false;
    const uint32_t now = GetTickCount();
    const bool xy = options_.channels == ChannelMode::xy;
    delay_.push(now, options_.delayMs, settings().frameIntervalMs, xy);
    return delay_.publishDue(now, row, rightRow, xy ? &figure : nullptr);
}

}  // namespace zembrit
