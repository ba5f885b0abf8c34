#pragma once
#include <array>
#include <cstdint>

#include "capture/signal/trace_points.h"
#include "capture/signal/xy_figure.h"

namespace zembrit {

// A source that stops delivering (loopback while nothing plays) would leave
// its last picture standing. Once no samples have come for two frame
// intervals, the picture glides to the centre over kGlideMs and stays
// there; the next samples take over at once. Runs on the user-interface side.
// This is the timing, shared by every picture that glides.
class QuietGlide {
public:
    static constexpr uint32_t kGlideMs = 250;

    struct Step {
        bool moves = false;   // the picture changes and wants a repaint
        bool begins = false;  // a new glide: take the picture to glide from first
        uint32_t leftMs = 0;  // how much of kGlideMs is left

        int32_t scaled(int32_t from) const { return static_cast<int32_t>(int64_t{from} * leftMs / kGlideMs); }
    };

    // now and lastSampleTick are millisecond ticks (wrapping).
    Step step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs);
    // Glided all the way and still quiet: nothing will change until samples come.
    bool flat() const { return gliding_ && flat_; }

private:
    bool gliding_ = false;
    bool flat_ = false;
    uint32_t glideStart_ = 0;
    uint32_t quietSince_ = 0;
};

// A trace row glides to the centre line.
class SilenceDecay {
public:
    // True when row changed and wants a repaint.
    bool step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs, TraceRow& row);
    bool flat() const { return glide_.flat(); }

private:
    QuietGlide glide_;
    std::array<int32_t, kTraceCapacity> from_{};
};

// The X-Y figure's pairs glide to the centre point; count and gain stay.
class XyFigureDecay {
public:
    // True when figure changed and wants a repaint.
    bool step(uint32_t now, uint32_t lastSampleTick, uint32_t frameIntervalMs, XyFigure& figure);
    bool flat() const { return glide_.flat(); }

private:
    QuietGlide glide_;
    int32_t count_ = 0;
    std::array<uint32_t, kMaxXyPairs> from_{};
};

}  // namespace zembrit
