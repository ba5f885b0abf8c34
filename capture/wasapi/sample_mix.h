#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "capture/signal/channels.h"
#include "capture/signal/trace_points.h"

// What a shared-mode endpoint delivers, turned into the 16-bit frames the
// reduction reads: every channel mixed to one, or the first two kept.
namespace zembrit {

// The sample encoding a mix format names; `other` is one the engine cannot read.
enum class FormatTag : uint8_t { pcm, ieeeFloat, other };

constexpr int kMaxMixChannels = 8;

// The layout of frames with `containerBits` per sample, or nothing when it is
// not one a shared-mode endpoint mixes in (24 valid bits in a 32-bit container
// read as 32-bit: the low byte is zero): signed16, signed24 (3-byte samples),
// signed32 or float32, in 1 to kMaxMixChannels channels. blockAlign must
// match the frame size.
std::optional<SourceLayout> mixFormatFor(FormatTag tag, int containerBits, int channels, uint32_t blockAlign);

enum class MixMode : uint8_t { mono, firstTwo };

constexpr int outputChannels(MixMode mode) { return mode == MixMode::mono ? 1 : 2; }

// frameCount frames into outputChannels(mode) 16-bit levels each: mono is
// the mean of all channels, firstTwo the first two (a mono source twice).
void mixFrames(const uint8_t* bytes, uint32_t frameCount, const SourceLayout& format, MixMode mode, int16_t* out);

// Gathers mixed frames into spans of as many samples per trace point as a
// 16-bit wave-in buffer holds, and hands each full span on as
// handoff(bytes, byteCount, SourceLayout). Its storage is fixed: nothing is
// allocated per packet.
class SpanAccumulator {
public:
    // points is clamped to [kMinPoints, kMaxPoints]; anything gathered is
    // dropped. doubled gathers two trace spans, for the trigger's search.
    void reset(int points, MixMode mode, bool doubled = false);

    template <class Handoff>
    void append(const uint8_t* bytes, uint32_t frames, const SourceLayout& format, Handoff&& handoff) {
        const uint32_t frameBytes = bytesPerFrame(format);
        while (frames > 0) {
            const uint32_t taken = take(frames);
            mixFrames(bytes, taken, format, mode_, samples_.data() + filled_ * channels());
            bytes += taken * frameBytes;
            frames -= taken;
            handOnWhenFull(taken, handoff);
        }
    }

    template <class Handoff>
    void appendSilence(uint32_t frames, Handoff&& handoff) {
        while (frames > 0) {
            const uint32_t taken = take(frames);
            std::fill_n(samples_.data() + filled_ * channels(), taken * channels(), int16_t{0});
            frames -= taken;
            handOnWhenFull(taken, handoff);
        }
    }

private:
    uint32_t channels() const { return static_cast<uint32_t>(outputChannels(mode_)); }
    uint32_t take(uint32_t frames) const { return frames < spanFrames_ - filled_ ? frames : spanFrames_ - filled_; }

    template <class Handoff>
    void handOnWhenFull(uint32_t taken, Handoff& handoff) {
        filled_ += taken;
        if (filled_ < spanFrames_) return;
        filled_ = 0;
        handoff(reinterpret_cast<const uint8_t*>(samples_.data()),
                static_cast<uint32_t>(spanFrames_ * channels() * sizeof(int16_t)),
                SourceLayout{SampleFormat::signed16, static_cast<int>(channels())});
    }

    static constexpr uint32_t kSamplesPerPoint = kBytesPerPoint / 2;
    std::array<int16_t, kMaxPoints * kSamplesPerPoint * 2 * 2> samples_{};  // two spans of two channels
    uint32_t spanFrames_ = kMinPoints * kSamplesPerPoint;
    uint32_t filled_ = 0;
    MixMode mode_ = MixMode::mono;
};

}  // namespace zembrit
