#pragma once
// The trace as the paint reads it: what the running capture wrote last, all
// flat at load. With two traces the left channel's row is latestTrace and
// the right one has a row of its own; the figure is filled only while X-Y
// is shown.
#include "capture/signal/trace_points.h"
#include "capture/signal/xy_figure.h"

namespace zembrit {

const TraceRow& latestTrace();
const TraceRow& latestRightTrace();
const XyFigure& latestXyFigure();

}  // namespace zembrit
