#pragma once
// The one way a source feeds the trace. Wave-in's worker and the WASAPI
// engine's thread each hand their buffers to the TraceFeed of the running
// capture, which takes them through the signal core into the latest
// picture (with a visual delay, through the delay line first) and says when
// a repaint is due, at most once a frame. Only one capture runs at a time.
#include "capture/signal/delay_line.h"
#include "capture/signal/signal_path.h"

namespace zembrit {

// One per running capture, used by its capture thread alone.
class TraceFeed {
public:
    explicit TraceFeed(const SignalOptions& options = {}) : options_(options) {}
    // True when a repaint is due.
    bool show(const SampleBuffer& buffer);

private:
    bool showDelayed();

    SignalOptions options_;
    SignalState state_;
    DelayLine delay_;
    TracePicture made_;  // with a visual delay: each picture as made, before it is held
};

// The latest picture, to write: by the running capture's feed, and by the
// WASAPI decay timer, which glides a silent source's picture flat.
TracePicture& writablePicture();
// At plugin start: the picture cleared and the frame clock started.
void resetTrace();

}  // namespace zembrit
