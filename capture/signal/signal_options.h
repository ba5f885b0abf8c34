#pragma once
#include <cstdint>

// What the signal core is asked to do, in its own small records of plain
// numbers: the feed fills them from the settings.
namespace zembrit {

enum class ChannelMode : uint8_t { mono, stereo, xy };

// What the window pictures: the trace (rows or the X-Y figure), or the spectrum.
enum class PictureView : uint8_t { trace, spectrum };

// What a capture shows besides the plain trace; taken when it starts.
struct SignalOptions {
    bool trigger = false;
    bool autoGain = false;
    ChannelMode channels = ChannelMode::mono;
    int32_t delayMs = 0;  // the visual delay; 0 shows each picture as it is made
    PictureView view = PictureView::trace;
    bool meter = false;             // the level meter's bars
    int32_t spectrumFloorDb = -80;  // the spectrum's lowest level, below 0 dBFS
    int32_t peakHoldMs = 1500;      // how long the spectrum's peak marks stay; 0: none
};

// The trace's size, read once per buffer: the user-interface thread may
// change it while a capture thread reduces.
struct TraceShape {
    int points;         // clamped to [kMinPoints, kMaxPoints] on use
    int32_t dimension;  // pixels across the trace: the window's height for a horizontal trace, else its width
};

}  // namespace zembrit
