#pragma once
// The spectrum: a ring of each channel's latest samples (a buffer is shorter
// than the transform), a Hann-windowed transform of the ring once per frame,
// and log-spaced bands in dB from 20 Hz (or the lowest band the transform
// resolves) to 20 kHz or the Nyquist frequency, whichever is lower. A band
// is the largest bin inside it, or where it is narrower than a bin, the
// neighbouring bins' levels interpolated. A full-scale sine reads 0 dBFS at
// its frequency: the window's gain is made up. Bars rise at once and fall by
// the clock; peak marks are held, then fall.
// Portable: the standard library and the transform's header. Allocates when
// made, never in take or analyse. One per capture, used by one thread.
#include <cstdint>
#include <memory>

#include "capture/signal/channels.h"
#include "capture/signal/bar_picture.h"

namespace zembrit {

// What a frame of the spectrum is asked for, in plain numbers.
struct SpectrumRequest {
    int32_t bands;       // held within [kMinBands, kMaxBands]
    int32_t floorDb;     // the bars' lowest level, below 0 dBFS
    int32_t peakHoldMs;  // 0: no peak marks
    bool stereo;         // each channel's bars; else the mix of the first two
};

class SpectrumAnalyser {
public:
    static constexpr uint32_t kTransformSize = 4096;
    static constexpr float kBarFallDbPerSecond = 40.0f;
    static constexpr float kPeakFallDbPerSecond = 20.0f;

    SpectrumAnalyser();
    ~SpectrumAnalyser();
    SpectrumAnalyser(SpectrumAnalyser&&) noexcept;
    SpectrumAnalyser& operator=(SpectrumAnalyser&&) noexcept;

    // Keeps the buffer's frames in the ring: the first two channels (a
    // one-channel source fills both alike). A rate of 0 keeps nothing.
    void take(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout, uint32_t framesPerSecond);

    // Transforms what the ring holds and moves the picture's bars to it as
    // of nowMs (a tick count; its wrap is survived).
    void analyse(uint32_t nowMs, const SpectrumRequest& request, SpectrumPicture& picture);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace zembrit
