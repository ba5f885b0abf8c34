#pragma once
// The level meter: each of the first two channels' sample peak (rising at
// once, falling 20 dB in 1.7 s), its RMS over the last 300 ms, a peak mark
// held 1.5 s (then falling 20 dB a second) and a clip mark lit for 2 s after
// a sample reached full scale, on a scale from -60 to 0 dBFS. Levels are the
// samples' as the source delivered them, before any gain.
// Portable and allocation-free. One per capture, used by one thread.
#include <array>
#include <cstdint>

#include "capture/signal/channels.h"
#include "capture/signal/bar_picture.h"
#include "capture/signal/level_motion.h"

namespace zembrit {

class LevelMeter {
public:
    static constexpr float kFloorDb = -60.0f;
    static constexpr float kPeakFallDbPerSecond = 20.0f / 1.7f;
    static constexpr uint32_t kRmsWindowMs = 300;
    static constexpr uint32_t kHoldMs = 1500;
    static constexpr float kHoldFallDbPerSecond = 20.0f;
    static constexpr uint32_t kClipMs = 2000;

    // Measures the buffer's frames. A rate of 0 measures nothing.
    void take(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout, uint32_t framesPerSecond);
    // As take, for frames of silence in that many channels.
    void takeSilence(uint32_t frames, int channels, uint32_t framesPerSecond);

    // The levels as of nowMs (a tick count; its wrap is survived).
    void show(uint32_t nowMs, LevelPicture& picture);

private:
    static constexpr uint32_t kBlockMs = 10;  // the RMS sums squares in blocks this long
    static constexpr uint32_t kRmsBlocks = kRmsWindowMs / kBlockMs;

    struct Channel {
        std::array<double, kRmsBlocks> blockSquares{};  // the latest whole blocks' sums of squares
        double squares = 0;                             // the block being filled
        float loudest = 0;  // the largest magnitude taken since the last show, 1.0 at full scale
        bool clippedSinceShow = false;
        float peakDb = kSilentDb;
        HeldMark hold;
        uint32_t clipLeftMs = 0;
    };

    // False (nothing to measure) for a rate of 0.
    bool begin(int channels, uint32_t framesPerSecond);
    void restart(uint32_t framesPerSecond);
    void measure(Channel& channel, const uint8_t* sample, SampleFormat format);
    void closeBlock();
    void showChannel(Channel& channel, uint32_t elapsedMs, ChannelLevel& level);

    std::array<Channel, 2> channels_{};
    int32_t channelCount_ = 0;  // 0 until a buffer was measured
    uint32_t framesPerSecond_ = 0;
    uint32_t blockFrames_ = 0;  // frames per block at that rate
    uint32_t framesInBlock_ = 0;
    uint32_t nextBlock_ = 0;  // the oldest block, the next to be replaced
    bool shown_ = false;      // a show happened: the next one falls by the time between
    uint32_t lastShowMs_ = 0;
};

}  // namespace zembrit
