#include "capture/signal/level_meter.h"

#include <algorithm>
#include <cmath>

namespace zembrit {
namespace {

float amplitudeDb(double amplitude) { return static_cast<float>(20.0 * std::log10(std::max(amplitude, 1e-10))); }

int32_t height(float db) {
    const float share = (db - LevelMeter::kFloorDb) / -LevelMeter::kFloorDb;
    return static_cast<int32_t>(std::lround(std::clamp(share, 0.0f, 1.0f) * static_cast<float>(kFullHeight)));
}

// Runs a countdown by elapsedMs; what is left of elapsedMs once it ran out.
uint32_t countDown(uint32_t& leftMs, uint32_t elapsedMs) {
    const uint32_t used = std::min(leftMs, elapsedMs);
    leftMs -= used;
    return elapsedMs - used;
}

}  // namespace

void LevelMeter::restart(uint32_t framesPerSecond) {
    channels_ = {};
    framesPerSecond_ = framesPerSecond;
    blockFrames_ = std::max<uint32_t>(1, (framesPerSecond * kBlockMs + 500) / 1000);
    framesInBlock_ = 0;
    nextBlock_ = 0;
}

void LevelMeter::measure(Channel& channel, const uint8_t* sample, SampleFormat format) {
    const float level = unitLevel(sample, format);
    channel.loudest = std::max(channel.loudest, std::fabs(level));
    channel.squares += static_cast<double>(level) * level;
    if (atFullScale(sample, format)) channel.clippedSinceShow = true;
}

void LevelMeter::closeBlock() {
    for (Channel& channel : channels_) {
        channel.blockSquares[nextBlock_] = channel.squares;
        channel.squares = 0;
    }
    nextBlock_ = (nextBlock_ + 1) % kRmsBlocks;
    framesInBlock_ = 0;
}

bool LevelMeter::begin(int channels, uint32_t framesPerSecond) {
    if (framesPerSecond == 0) return false;
    if (framesPerSecond != framesPerSecond_) restart(framesPerSecond);
    channelCount_ = channels > 1 ? 2 : 1;
    return true;
}

void LevelMeter::take(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout, uint32_t framesPerSecond) {
    if (!begin(layout.channels, framesPerSecond)) return;
    const uint32_t frameBytes = bytesPerFrame(layout);
    const uint32_t sampleBytes = bytesPerSample(layout.format);
    const uint32_t frames = byteCount / frameBytes;
    const uint8_t* frame = bytes;
    for (uint32_t f = 0; f < frames; ++f, frame += frameBytes) {
        for (int c = 0; c < channelCount_; ++c) {
            measure(channels_[static_cast<size_t>(c)], frame + static_cast<size_t>(c) * sampleBytes, layout.format);
        }
        if (++framesInBlock_ == blockFrames_) closeBlock();
    }
}

void LevelMeter::takeSilence(uint32_t frames, int channels, uint32_t framesPerSecond) {
    if (!begin(channels, framesPerSecond)) return;
    for (uint32_t f = 0; f < frames; ++f)
        if (++framesInBlock_ == blockFrames_) closeBlock();
}

void LevelMeter::showChannel(Channel& channel, uint32_t elapsedMs, ChannelLevel& level) {
    const float fallen = channel.peakDb - kPeakFallDbPerSecond * static_cast<float>(elapsedMs) / 1000.0f;
    channel.peakDb = std::max(amplitudeDb(channel.loudest), fallen);
    channel.loudest = 0;

    if (channel.peakDb >= channel.holdDb) {
        channel.holdDb = channel.peakDb;
        channel.holdLeftMs = kHoldMs;
    } else {
        const uint32_t fallMs = countDown(channel.holdLeftMs, elapsedMs);
        const float held = channel.holdDb - kHoldFallDbPerSecond * static_cast<float>(fallMs) / 1000.0f;
        channel.holdDb = std::max(channel.peakDb, held);
    }

    countDown(channel.clipLeftMs, elapsedMs);
    if (channel.clippedSinceShow) channel.clipLeftMs = kClipMs;
    channel.clippedSinceShow = false;

    double squares = 0;
    for (double block : channel.blockSquares) squares += block;
    const double meanSquare = squares / (static_cast<double>(blockFrames_) * kRmsBlocks);

    level.peak = height(channel.peakDb);
    level.rms = height(amplitudeDb(std::sqrt(meanSquare)));
    level.hold = height(channel.holdDb);
    level.clipped = channel.clipLeftMs > 0 ? 1 : 0;
}

void LevelMeter::show(uint32_t nowMs, LevelPicture& picture) {
    if (channelCount_ == 0) return;  // nothing measured yet
    const uint32_t elapsedMs = shown_ ? nowMs - lastShowMs_ : 0;
    shown_ = true;
    lastShowMs_ = nowMs;
    for (int c = 0; c < channelCount_; ++c) {
        showChannel(channels_[static_cast<size_t>(c)], elapsedMs, picture.channel[static_cast<size_t>(c)]);
    }
    picture.channels = channelCount_;
}

}  // namespace zembrit
