#pragma once
// What one frame shows, as one value: the picture a capture leaves for the
// paint, and what is done to a whole picture. Its parts are named only here,
// where they are made (signal_path.cpp) and where they are painted; the
// delay line, the silence glide, the repaint gate, the feed and the latest
// trace carry whole pictures, so a new part is added here and they take it
// along.
#include <array>
#include <cstdint>

#include "capture/signal/bar_picture.h"
#include "capture/signal/trace_points.h"
#include "capture/signal/xy_figure.h"

namespace zembrit {

// Every element is written whole: a paint may read a picture while a
// capture thread writes it, and mix two buffers' values, but never sees a
// torn one. Which parts are painted follows the view and the channels: the
// left row, both rows in stereo, the figure in X-Y, or the spectrum; the
// levels with the meter on.
struct TracePicture {
    TraceRow left{};   // the trace; the left channel's in stereo
    TraceRow right{};  // the right channel's in stereo
    XyFigure figure;
    SpectrumPicture spectrum;
    LevelPicture levels;
};

// The spectrum's bars and peak marks, both channels', then each level.
inline constexpr int kPictureHeights = 4 * kMaxBands + 4 * 2;

// A picture set aside by one thread, in plain values: a delay line's slot,
// where a glide starts from, what a repaint gate saw last.
struct HeldPicture {
    std::array<int32_t, kTraceCapacity> left{}, right{};
    std::array<uint32_t, kMaxXyPairs> pairs{};  // the figure's, the first count of them held
    int32_t count = 0;
    float gain = 1.0f;
    std::array<int32_t, kPictureHeights> heights{};
    int32_t bandCount = 0, levelChannels = 0;
};

// Copies a whole picture; of the figure, only the pairs its count covers.
void copyInto(const TracePicture& picture, HeldPicture& held);
void copyInto(const HeldPicture& held, TracePicture& picture);

// picture becomes from scaled by leftMs / wholeMs, each value rounded toward
// zero: the rows toward the centre line, from's pairs toward the centre
// point, the bars and levels toward their floor. The figure keeps its count
// and gain, the spectrum and levels theirs.
void glideTowardRest(const HeldPicture& from, uint32_t leftMs, uint32_t wholeMs, TracePicture& picture);

// True when picture differs from last, which then holds it. A figure's
// pairs beyond its count are not shown, and never count.
bool changedSince(const TracePicture& picture, HeldPicture& last);

// Flat rows, no figure, no bands and no levels.
void clear(TracePicture& picture);

}  // namespace zembrit
