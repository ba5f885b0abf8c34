#pragma once
// The signal core: one buffer of any source in, the picture out. It is
// portable (it includes only itself, the standard library and the
// spectrum's transform header, and takes plain numbers in its own option
// records, signal_options.h), allocates nothing once made, and keeps what it remembers between buffers in a SignalState
// that one capture owns and one thread uses. A buffer's way, top to bottom in signal_path.cpp: its channels are taken
// apart (channels.h), the trigger finds where the trace starts (trigger.h), the automatic gain follows the peak of what
// is shown (auto_gain.h), and the span is reduced to trace points (reduce.h) or kept as X-Y pairs (xy_figure.h), into
// one picture (trace_picture.h). Between buffers, silence_decay.h lets a silent picture glide flat and delay_line.h
// holds pictures for a visual delay. The same buffers feed the spectrum (frequency_analyser.h) and the level meter
// (level_meter.h), whose bars and levels are parts of the picture too.
// With every option off a one-channel 8- or 16-bit buffer is reduced from
// its own bytes, so the trace is the plain reduction's.
#include <cstdint>

#include "capture/signal/auto_gain.h"
#include "capture/signal/channels.h"
#include "capture/signal/reduce.h"
#include "capture/signal/trace_points.h"
#include "capture/signal/trigger.h"
#include "capture/signal/signal_options.h"
#include "capture/signal/trace_picture.h"

namespace zembrit {

// One buffer of samples as a source delivered it.
struct SampleBuffer {
    const uint8_t* bytes;
    uint32_t byteCount;
    SourceLayout layout;
    float seconds;  // the time the buffer covers; paces the automatic gain's fall
};

// What the signal steps remember from buffer to buffer, and room for the
// channels they take apart.
struct SignalState {
    TriggerMemory trigger;
    AutoGain gain;
    ChannelScratch left, right;
};

// The part of one buffer to show. left and right point into the buffer or
// into the state's scratch, so they last until the next selectSpan; right
// is left for the mono mode and for a one-channel source.
struct SampleSpan {
    MonoSamples left, right;
    uint32_t start;  // first sample shown: the trigger's crossing, else 0
    uint32_t count;  // samples from start shown, one trace span at most
    bool autoGain;
    float gain;  // over the fixed scale; 1 with the automatic gain off
};

// Frames a source should deliver per buffer: one trace span, two with the
// trigger on, so that a crossing in the first still has a whole span after it.
uint32_t framesPerBuffer(int points, SampleFormat format, bool trigger);

// The channels, trigger and gain steps: where the trace starts (in the left
// channel) and at what scale (both channels' peak, so they share one scale).
SampleSpan selectSpan(const SampleBuffer& buffer, int points, const SignalOptions& options, SignalState& state);

// Reduces one channel of the span (span.left or span.right) into row from
// the span's start, at the fixed scale or the span's gain.
void reduceSpanInto(const SampleSpan& span, const MonoSamples& channel, int points, int32_t dimension, TraceRow& row);

// Stores the span's pairs (from its start, at most kMaxXyPairs) and gain.
void storeXyFigure(const SampleSpan& span, XyFigure& figure);

// The whole way into picture: the left row always, the right row in
// stereo, the figure in X-Y.
void traceBuffer(const SampleBuffer& buffer, const TraceShape& shape, const SignalOptions& options, SignalState& state,
                 TracePicture& picture);

}  // namespace zembrit
