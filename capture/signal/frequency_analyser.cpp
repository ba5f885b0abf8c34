#include "capture/signal/frequency_analyser.h"

#include <kissfft.hh>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "capture/signal/band_layout.h"
#include "capture/signal/level_motion.h"

namespace zembrit {
namespace {

constexpr uint32_t kSize = SpectrumAnalyser::kTransformSize;
constexpr uint32_t kBins = kSize / 2;
constexpr float kSilentPower = 1e-20f;

float powerDb(float power) { return 10.0f * std::log10(std::max(power, kSilentPower)); }

// A band's level from its loudest bin. A tone between two bins reads up to
// 1.4 dB low through the window (its scalloping); where the loudest bin is a
// local maximum the parabola through it and its neighbours finds the tone's
// level within 0.4 dB.
float loudestDb(const std::vector<float>& power, const BandBins& band) {
    uint32_t loudest = band.first;
    for (uint32_t bin = band.first + 1; bin <= band.last; ++bin) {
        if (power[bin] > power[loudest]) loudest = bin;
    }
    const float peak = powerDb(power[loudest]);
    if (loudest == 0 || loudest + 1 >= power.size()) return peak;
    const float below = powerDb(power[loudest - 1]);
    const float above = powerDb(power[loudest + 1]);
    const float curve = below - 2.0f * peak + above;
    if (below > peak || above > peak || curve >= 0.0f) return peak;
    const float offset = 0.5f * (below - above) / curve;
    return peak - 0.25f * (below - above) * offset;
}

// A band narrower than a bin, holding none: the two bins around its centre,
// interpolated in dB.
float betweenDb(const std::vector<float>& power, const BandBins& band) {
    const auto below = static_cast<uint32_t>(band.centre);
    const float fraction = band.centre - static_cast<float>(below);
    const float low = powerDb(power[below]);
    return low + fraction * (powerDb(power[below + 1]) - low);
}

float bandDb(const std::vector<float>& power, const BandBins& band) {
    return band.first <= band.last ? loudestDb(power, band) : betweenDb(power, band);
}

// How a bar and its peak mark stand between frames, in dB.
struct BandMotion {
    float barDb = kSilentDb;
    HeldMark peak;
};

using ChannelMotion = std::array<BandMotion, kMaxBands>;

}  // namespace

struct SpectrumAnalyser::Parts {
    kissfft<float> transform{kBins, false};  // made once: a power-of-two transform allocates nothing when run
    std::vector<float> window = std::vector<float>(kSize);
    float amplitudeScale = 0;  // a bin's magnitude to a sine's amplitude, the window's gain made up
    std::array<std::vector<float>, 2> ring{std::vector<float>(kSize), std::vector<float>(kSize)};
    uint32_t next = 0;  // the ring's oldest frame, where the next one goes
    uint32_t framesPerSecond = 0;
    std::vector<float> windowed = std::vector<float>(kSize);
    std::vector<std::complex<float>> bins = std::vector<std::complex<float>>(kBins);
    std::vector<float> power = std::vector<float>(kBins);  // per bin, as a sine's squared amplitude
    std::array<BandBins, kMaxBands> bands{};
    int32_t bandCount = 0;
    uint32_t bandsRate = 0;  // the rate the bands were laid for
    std::array<ChannelMotion, 2> motion{};
    bool moved = false;  // a frame was shown: the next one falls by the time between
    uint32_t lastMs = 0;

    Parts() {
        double sum = 0;
        for (uint32_t i = 0; i < kSize; ++i) {
            // Periodic Hann: the ring is one period of what it shows.
            const double phase = 2.0 * std::numbers::pi * i / kSize;
            window[i] = static_cast<float>(0.5 - 0.5 * std::cos(phase));
            sum += window[i];
        }
        amplitudeScale = static_cast<float>(2.0 / sum);
    }

    void restart(uint32_t rate) {
        for (auto& channel : ring) std::fill(channel.begin(), channel.end(), 0.0f);
        next = 0;
        framesPerSecond = rate;
    }

    void layFor(int32_t count) {
        if (count == bandCount && framesPerSecond == bandsRate) return;
        layBands({kSize, framesPerSecond}, std::span(bands.data(), static_cast<size_t>(count)));
        bandCount = count;
        bandsRate = framesPerSecond;
        motion = {};  // the old bars stood for other frequencies
        moved = false;
    }

    // The ring oldest first, windowed, in either channel or the mix of both.
    void windowRing(int channel) {
        for (uint32_t i = 0, at = next; i < kSize; ++i, at = (at + 1) % kSize) {
            const float sample = channel >= 0 ? ring[channel][at] : 0.5f * (ring[0][at] + ring[1][at]);
            windowed[i] = window[i] * sample;
        }
    }

    void transformToPower() {
        transform.transform_real(windowed.data(), bins.data());
        power[0] = 0;  // direct current (and the Nyquist bin packed beside it): never in a band
        for (uint32_t bin = 1; bin < kBins; ++bin) power[bin] = std::norm(bins[bin] * amplitudeScale);
    }

    void show(int channel, uint32_t elapsedMs, const SpectrumRequest& request, SpectrumBars& bars) {
        windowRing(channel);
        transformToPower();
        ChannelMotion& bands = motion[static_cast<size_t>(std::max(channel, 0))];
        const auto holdMs = static_cast<uint32_t>(std::max(request.peakHoldMs, 0));
        const auto floorDb = static_cast<float>(std::clamp(request.floorDb, -200, -1));
        for (int32_t i = 0; i < bandCount; ++i) {
            BandMotion& band = bands[static_cast<size_t>(i)];
            const float levelDb = bandDb(power, this->bands[static_cast<size_t>(i)]);
            band.barDb = riseOrFall(band.barDb, levelDb, elapsedMs, kBarFallDbPerSecond);
            band.peak.follow(band.barDb, elapsedMs, holdMs, kPeakFallDbPerSecond);
            bars.bars[static_cast<size_t>(i)] = heightOf(band.barDb, floorDb);
            bars.peaks[static_cast<size_t>(i)] = holdMs > 0 ? heightOf(band.peak.db, floorDb) : 0;
        }
    }
};

SpectrumAnalyser::SpectrumAnalyser() : parts_(std::make_unique<Parts>()) {}
SpectrumAnalyser::~SpectrumAnalyser() = default;
SpectrumAnalyser::SpectrumAnalyser(SpectrumAnalyser&&) noexcept = default;
SpectrumAnalyser& SpectrumAnalyser::operator=(SpectrumAnalyser&&) noexcept = default;

void SpectrumAnalyser::take(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout,
                            uint32_t framesPerSecond) {
    if (!parts_ || framesPerSecond == 0) return;
    Parts& p = *parts_;
    if (framesPerSecond != p.framesPerSecond) p.restart(framesPerSecond);
    const uint32_t frameBytes = bytesPerFrame(layout);
    const uint32_t frames = byteCount / frameBytes;
    const uint32_t kept = std::min(frames, kSize);  // the older ones would be overwritten anyway
    const uint32_t rightOffset = layout.channels > 1 ? bytesPerSample(layout.format) : 0;
    const uint8_t* frame = bytes + static_cast<size_t>(frames - kept) * frameBytes;
    for (uint32_t f = 0; f < kept; ++f, frame += frameBytes) {
        p.ring[0][p.next] = unitLevel(frame, layout.format);
        p.ring[1][p.next] = unitLevel(frame + rightOffset, layout.format);
        p.next = (p.next + 1) % kSize;
    }
}

void SpectrumAnalyser::analyse(uint32_t nowMs, const SpectrumRequest& request, SpectrumPicture& picture) {
    if (!parts_ || parts_->framesPerSecond == 0) return;  // nothing taken yet
    Parts& p = *parts_;
    p.layFor(std::clamp(request.bands, kMinBands, kMaxBands));
    const uint32_t elapsedMs = p.moved ? nowMs - p.lastMs : 0;
    p.moved = true;
    p.lastMs = nowMs;
    if (request.stereo) {
        p.show(0, elapsedMs, request, picture.left);
        p.show(1, elapsedMs, request, picture.right);
    } else {
        p.show(-1, elapsedMs, request, picture.left);
    }
    picture.count = p.bandCount;
}

}  // namespace zembrit
