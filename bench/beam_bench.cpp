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

// Full-scale noise on both channels at its worst: 1,600 pairs, every
// segment crossing the whole picture from corner to corner.
std::vector<PathPoint> cornerToCorner(int32_t width, int32_t height) {
    const PathPoint corners[] = {{0, 0},
                                 {static_cast<float>(width - 1), static_cast<float>(height - 1)},
                                 {static_cast<float>(width - 1), 0},
                                 {0, static_cast<float>(height - 1)}};
    std::vector<PathPoint> points;
    for (int i = 0; i < 1600; ++i) points.push_back(corners[i % 4]);
    return points;
}

void frames(benchmark::State& state, int32_t width, int32_t height, float sigma, const std::vector<PathPoint>& trace) {
    BeamPicture picture;
    picture.resize(width, height);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0x00202830);
    const float persistence = beamPersistence(true, 120);
    const float exposure = beamExposure(trace.data(), static_cast<int>(trace.size()), persistence);
    for (auto _ : state) {
        picture.fade(persistence);
        picture.expose(trace.data(), static_cast<int>(trace.size()), sigma, exposure, {0.4f, 1.0f, 0.6f});
        picture.composite(pixels.data(), width, false);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void beamFrame(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0)), height = static_cast<int32_t>(state.range(1));
    frames(state, width, height, static_cast<float>(state.range(2)) / 10.0f,
           traceFor(width, height, state.range(3) != 0));
}

// The sigma asked for; the picture bounds the one it draws with.
void beamWorstFrame(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0)), height = static_cast<int32_t>(state.range(1));
    frames(state, width, height, static_cast<float>(state.range(2)) / 10.0f, cornerToCorner(width, height));
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
BENCHMARK(beamWorstFrame)
    ->ArgNames({"width", "height", "sigma10"})
    ->Args({1280, 1024, 6})
    ->Args({1280, 1024, 20})
    ->Args({1280, 1024, 80})
    ->Args({1280, 1024, 200})
    ->Args({1920, 1200, 6})
    ->Args({1920, 1200, 80})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(beamFade)
    ->ArgNames({"width", "height"})
    ->Args({400, 100})
    ->Args({1600, 200})
    ->Args({1920, 1200})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zembrit
