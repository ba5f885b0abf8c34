#include "capture/signal/reduce.h"

#include <algorithm>
#include <array>
#include <climits>

#include "capture/signal/channels.h"

namespace zembrit {
namespace {

constexpr uint32_t kSecondSampleOffset = 8;     // the later of a group's two candidate bytes
constexpr float kAmplitudeSteps = 0.00390625f;  // 1 / 256: amplitude range to the trace's size
constexpr double kLevelSteps = 65536.0;         // 16-bit level range to the trace's size

int clampedPoints(int points) { return std::clamp(points, kMinPoints, kMaxPoints); }

// The sample starting at offset, decoded by read(sample, bits); false when the
// recorded bytes do not cover it. A deeper sample is signed little endian
// and the chosen byte is its low byte: the byte after it must lie within
// the recorded limit as well. Each depth has a branch of its own, so the
// compiler can take the test on the depth out of a loop.
template <class Value, class Read>
bool readAt(const uint8_t* bytes, uint32_t limit, uint32_t offset, int sampleBits, Value& value, Read read) {
    if (sampleBits <= 8) {
        if (offset >= limit) return false;
        value = read(bytes + offset, 8);
        return true;
    }
    if (offset + 1 >= limit) return false;
    value = read(bytes + offset, 16);
    return true;
}

bool amplitudeAt(const uint8_t* bytes, uint32_t limit, uint32_t offset, int sampleBits, int& amplitude) {
    return readAt(bytes, limit, offset, sampleBits, amplitude, pcmAmplitude);
}

bool fineLevelAt(const uint8_t* bytes, uint32_t limit, uint32_t offset, int sampleBits, int32_t& level) {
    return readAt(bytes, limit, offset, sampleBits, level, pcmLevel);
}

// Truncates toward zero. |float(dimension)| <= 2^31, so |scale| <= 2^23 and
// |amplitude * scale| <= 2^30: the conversion fits int32 for every dimension,
// even a configured width of INT32_MAX or INT32_MIN.
int32_t scaled(int amplitude, float scale) { return static_cast<int32_t>(static_cast<float>(amplitude) * scale); }

int32_t saturated(double pixels) {
    return static_cast<int32_t>(std::clamp(pixels, double{INT32_MIN}, double{INT32_MAX}));
}

// Group k's value comes from its byte 8, or from its byte 0 when the
// recorded bytes end before byte 8's sample does; a group with neither
// keeps previous. valueAt(limit, offset, value) reads and scales one sample.
template <class ValueAt>
void decimateWith(const ReductionInput& in, const TraceRow& previous, int32_t* raw, ValueAt valueAt) {
    const int points = clampedPoints(in.points);
    const uint32_t limit = std::min(in.byteCount, static_cast<uint32_t>(points * kBytesPerPoint));
    for (int k = 0; k < points; ++k) {
        const uint32_t groupStart = static_cast<uint32_t>(k * kBytesPerPoint);
        int32_t value = 0;
        const bool recorded =
            valueAt(limit, groupStart + kSecondSampleOffset, value) || valueAt(limit, groupStart, value);
        raw[k] = recorded ? value : previous[k].load();
    }
}

// Sums in 64 bits: four raw values near their 2^30 bound overflow 32 bits.
// The shift of a negative int64 is arithmetic (floor), and every result is
// back within int32 because raw values and the row are.
int32_t halfSum(int32_t a, int32_t b) { return static_cast<int32_t>((int64_t{a} + b) >> 1); }

int32_t smoothedInterior(int32_t previous, int32_t left, int32_t centre, int32_t right) {
    return static_cast<int32_t>((int64_t{previous} + left + centre + right - 1) >> 2);
}

}  // namespace

// A group the buffer does not reach (the short buffer a capture reset hands
// back) repeats what the trace shows there now: smoothing then moves that
// part of the trace by at most a pixel, where a 0 would pull the unrecorded
// tail towards the centre line for one frame.
void decimate(const ReductionInput& in, const TraceRow& previous, int32_t* raw) {
    const float scale = static_cast<float>(in.dimension) * kAmplitudeSteps;
    decimateWith(in, previous, raw, [&](uint32_t limit, uint32_t offset, int32_t& value) {
        int amplitude = 0;
        if (!amplitudeAt(in.bytes, limit, offset, in.sampleBits, amplitude)) return false;
        value = scaled(amplitude, scale);
        return true;
    });
}

// Ascending and in place: each interior point reads only its own previous
// value, which no earlier step has overwritten yet.
void smooth(const int32_t* raw, int points, TraceRow& row) {
    row[0] = halfSum(raw[0], raw[1]);
    for (int i = 1; i < points - 1; ++i) row[i] = smoothedInterior(row[i].load(), raw[i - 1], raw[i], raw[i + 1]);
    row[points - 1] = halfSum(raw[points - 2], raw[points - 1]);
}

bool repaintDue(uint32_t now, uint32_t lastRedrawTick, uint32_t frameIntervalMs) {
    return static_cast<uint32_t>(now - lastRedrawTick) > frameIntervalMs;
}

void reduceInto(const ReductionInput& in, TraceRow& row) {
    if (in.byteCount == 0) return;
    std::array<int32_t, kMaxPoints> raw;
    decimate(in, row, raw.data());
    smooth(raw.data(), clampedPoints(in.points), row);
}

void reduceWithGain(const ReductionInput& in, float gain, TraceRow& row) {
    if (in.byteCount == 0) return;
    const double scale = static_cast<double>(in.dimension) * gain / kLevelSteps;
    std::array<int32_t, kMaxPoints> raw;
    decimateWith(in, row, raw.data(), [&](uint32_t limit, uint32_t offset, int32_t& value) {
        int32_t level = 0;
        if (!fineLevelAt(in.bytes, limit, offset, in.sampleBits, level)) return false;
        value = saturated(level * scale);
        return true;
    });
    smooth(raw.data(), clampedPoints(in.points), row);
}

}  // namespace zembrit
