#include "bench/allocations.h"
#include "capture/signal/level_meter.h"
#include "capture/signal/frequency_analyser.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "tests/support/float_frames.h"

namespace zembrit {
namespace {

constexpr uint32_t kRate = 44100;
constexpr SourceLayout kStereoFloat{SampleFormat::float32, 2};

// 10 ms of a tone on the left and another on the right, as a WASAPI source
// delivers them.
std::vector<uint8_t> tenMilliseconds() {
    return zembrit_test::floatFrames(kRate / 100, 2, [](uint32_t f, int c) {
        return 0.5 * zembrit_test::sineAt(c == 0 ? 441.7 : 3100.0, kRate, f);
    });
}

// One frame of the stereo spectrum: a buffer taken into the ring, both
// channels transformed and their bars moved. Argument: the bands.
void spectrumFrame(benchmark::State& state) {
    const std::vector<uint8_t> buffer = tenMilliseconds();
    const SpectrumRequest request{static_cast<int32_t>(state.range(0)), -80, 1500, true};
    SpectrumAnalyser analyser;
    static SpectrumPicture picture;  // 4 KB: the feed's, not the stack's
    uint32_t nowMs = 0;
    const long allocationsBefore = allocationCount();
    for (auto _ : state) {
        analyser.take(buffer.data(), static_cast<uint32_t>(buffer.size()), kStereoFloat, kRate);
        analyser.analyse(nowMs += 10, request, picture);
        benchmark::ClobberMemory();
    }
    state.counters["allocations"] = static_cast<double>(allocationCount() - allocationsBefore);
}
BENCHMARK(spectrumFrame)->Arg(64)->Arg(256);

// The level meter over one 10 ms stereo buffer, and its picture shown.
void levelMeterBuffer(benchmark::State& state) {
    const std::vector<uint8_t> buffer = tenMilliseconds();
    LevelMeter meter;
    LevelPicture picture;
    uint32_t nowMs = 0;
    const long allocationsBefore = allocationCount();
    for (auto _ : state) {
        meter.take(buffer.data(), static_cast<uint32_t>(buffer.size()), kStereoFloat, kRate);
        meter.show(nowMs += 10, picture);
        benchmark::ClobberMemory();
    }
    state.counters["allocations"] = static_cast<double>(allocationCount() - allocationsBefore);
}
BENCHMARK(levelMeterBuffer);

}  // namespace
}  // namespace zembrit
