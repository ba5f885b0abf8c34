#pragma once
// The one way a source feeds the picture. Wave-in's worker and the WASAPI
// engine's thread each hand their buffers to the TraceFeed of the running
// capture, which takes them through the signal core into the latest
// picture (with a visual delay, through the delay line first) and says when
// a repaint is due, at most once a frame. The spectrum is transformed and
// the levels published once a frame too, as that repaint is claimed. Only
// one capture runs at a time.
#include <optional>

#include "capture/signal/delay_line.h"
#include "capture/signal/level_meter.h"
#include "capture/signal/signal_path.h"
#include "capture/signal/frequency_analyser.h"

namespace zembrit {

// Where the meter reads its levels: the buffers shown, or a source's packets
// before it mixed them into those buffers (a WASAPI source mixes its
// channels for the mono trace; the meter shows each).
enum class LevelsFrom : uint8_t { buffers, packets };

// One per running capture, used by its capture thread alone.
class TraceFeed {
public:
    // Makes the spectrum's transform when the view asks for it.
    explicit TraceFeed(const SignalOptions& options = {}, LevelsFrom levels = LevelsFrom::buffers);
    // True when a repaint is due.
    bool show(const SampleBuffer& buffer);
    // With LevelsFrom::packets: a packet as delivered; null bytes for silence.
    void takeLevels(const uint8_t* bytes, uint32_t frames, const SourceLayout& format);

private:
    void take(const SampleBuffer& buffer, TracePicture& picture);
    void finishFrame(uint32_t now, TracePicture& picture);
    bool showDelayed(uint32_t now);

    SignalOptions options_;
    LevelsFrom levels_;
    SignalState state_;
    DelayLine delay_;
    TracePicture made_;  // with a visual delay: each picture as made, before it is held
    std::optional<SpectrumAnalyser> spectrum_;
    LevelMeter meter_;
};

// The latest picture, to write: by the running capture's feed, and by the
// WASAPI decay timer, which glides a silent source's picture flat.
TracePicture& writablePicture();
// At plugin start: the picture cleared and the frame clock started.
void resetTrace();

}  // namespace zembrit
