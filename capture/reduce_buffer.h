#pragma once
#include <cstdint>

#include "capture/capture_state.h"
#include "capture/trace_points.h"
#include "capture/xy_figure.h"

namespace zembrit {

// Beside TracePoints (the left or only channel): the right channel's row for
// two traces, and the X-Y figure. Written only while the capture shows them.
extern TraceRow RightTracePoints;
extern XyFigure xyFigure;

// Takes one returned buffer through the signal steps into the trace (and the
// right row or the figure); true when a repaint is due, at most once per
// frameIntervalMs. Runs on the capture worker.
bool reduceBuffer(CaptureBuffer& buffer);

}  // namespace zembrit
