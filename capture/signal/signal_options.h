#pragma once
#include <cstdint>

// What the signal core is asked to do, in its own small records of plain
// numbers: the feed fills them from the settings.
namespace zembrit {

enum class ChannelMode : uint8_t { mono, stereo, xy };

// What a capture shows besides the plain trace; taken when it starts.
struct SignalOptions {
    bool trigger = false;
    bool autoGain = false;
    ChannelMode channels = ChannelMode::mono;
    int32_t delayMs = 0;  // the visual delay; 0 shows each picture as it is made
};

// The trace's size, read once per buffer: the user-interface thread may
// change it while a capture thread reduces.
struct TraceShape {
    int points;         // clamped to [kMinPoints, kMaxPoints] on use
    int32_t dimension;  // pixels across the trace: the window's height for a horizontal trace, else its width
};

}  // namespace zembrit
