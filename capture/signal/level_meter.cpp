#include "capture/signal/level_meter.h"

#include <algorithm>
#include <cmath>

namespace zembrit {
namespace {

float amplitudeDb(double amplitude) { return static_cast<float>(20.0 * std::log10(std::max(amplitude, 1e-10))); }

int32_t height(float db) { return heightOf(db, LevelMeter::kFloorDb); }

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
    channel.peakDb = riseOrFall(channel.peakDb, amplitudeDb(channel.loudest), elapsedMs, kPeakFallDbPerSecond);
    channel.loudest = 0;
    channel.hold.follow(channel.peakDb, elapsedMs, kHoldMs, kHoldFallDbPerSecond);

    channel.clipLeftMs -= std::min(channel.clipLeftMs, elapsedMs);
    if (channel.clippedSinceShow) channel.clipLeftMs = kClipMs;
    channel.clippedSinceShow = false;

    double squares = 0;
    for (double block : channel.blockSquares) squares += block;
    const double meanSquare = squares / (static_cast<double>(blockFrames_) * kRmsBlocks);

    level.peak = height(channel.peakDb);
    level.rms = height(amplitudeDb(std::sqrt(meanSquare)));
    level.hold = height(channel.hold.db);
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
