// One beam frame as the paint makes it: the fade, the exposure of the trace
// and the composite over the background, at the sizes a scope is shown.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "scope/beam.h"

namespace zembrit {
namespace {

// A row trace of 100 points across the picture, or a Lissajous figure of
// 1600 sample pairs filling it.
std::vector<PathPoint> traceFor(int32_t width, int32_t height, bool xy) {
    std::vector<PathPoint> points;
    const int count = xy ? 1600 : 100;
    for (int i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(count - 1);
        const float x = xy ? 0.5f + 0.45f * std::sin(6.2832f * 3 * t) : t;
        const float y = 0.5f + 0.45f * std::sin(6.2832f * (xy ? 2 : 4) * t);
        points.push_back({x * static_cast<float>(width - 1), y * static_cast<float>(height - 1)});
    }
    return points;
}

void beamFrame(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0)), height = static_cast<int32_t>(state.range(1));
    const float sigma = static_cast<float>(state.range(2)) / 10.0f;
    const bool xy = state.range(3) != 0;
    BeamPicture picture;
    picture.resize(width, height);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0x00202830);
    const std::vector<PathPoint> trace = traceFor(width, height, xy);
    const float persistence = beamPersistence(true, 120);
    const float exposure = beamExposure(trace.data(), static_cast<int>(trace.size()), persistence);
    for (auto _ : state) {
        picture.fade(persistence);
        picture.expose(trace.data(), static_cast<int>(trace.size()), sigma, exposure, {0.4f, 1.0f, 0.6f});
        picture.composite(pixels.data(), width, false);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void beamFade(benchmark::State& state) {
    BeamPicture picture;
    picture.resize(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    for (auto _ : state) {
        picture.fade(0.5f);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(beamFrame)
    ->ArgNames({"width", "height", "sigma10", "xy"})
    ->Args({400, 100, 10, 0})
    ->Args({400, 100, 20, 0})
    ->Args({1600, 200, 10, 0})
    ->Args({1600, 200, 20, 0})
    ->Args({400, 100, 10, 1})
    ->Args({1600, 200, 20, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(beamFade)->ArgNames({"width", "height"})->Args({400, 100})->Args({1600, 200})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zembrit
