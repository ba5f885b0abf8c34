#include "bench/allocations.h"
#include "capture/signal/reduce.h"
#include "capture/signal/signal_path.h"

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

// Every allocation in the process is counted, so the benchmark shows that a
// reduction makes none.
namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace zembrit {

long allocationCount() { return allocations.load(); }

namespace {

// One reduction of a full 16-bit buffer: the time the capture callback holds
// the only buffer away from the device.
void reduceFullBuffer(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    std::array<uint8_t, kMaxPoints * kBytesPerPoint> buffer{};
    uint32_t seed = 12345;
    for (uint8_t& byte : buffer) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(seed >> 16);
    }
    const ReductionInput in{buffer.data(), static_cast<uint32_t>(points * kBytesPerPoint), points, 16, 25};
    TraceRow row{};
    long allocationsBefore = allocations.load();
    for (auto _ : state) {
        reduceInto(in, row);
        benchmark::ClobberMemory();
    }
    state.counters["allocations"] = static_cast<double>(allocations.load() - allocationsBefore);
}
BENCHMARK(reduceFullBuffer)->Arg(10)->Arg(32)->Arg(100);

// Two trace spans of a 441.7 Hz tone at 16 kHz, as a source with the
// trigger on delivers them, in every channel of the layout.
std::vector<uint8_t> twoSpans(int points, const SourceLayout& layout) {
    const uint32_t frames = framesPerBuffer(points, layout.format, true);
    std::vector<uint8_t> bytes;
    for (uint32_t f = 0; f < frames; ++f) {
        const double level = 0.5 * std::sin(2 * 3.14159265358979 * 441.7 * f / 16000.0);
        for (int c = 0; c < layout.channels; ++c) {
            if (layout.format == SampleFormat::float32) {
                const auto value = static_cast<float>(level);
                const auto* raw = reinterpret_cast<const uint8_t*>(&value);
                bytes.insert(bytes.end(), raw, raw + sizeof value);
            } else {
                const auto sample = static_cast<uint16_t>(static_cast<int16_t>(level * 32767));
                bytes.insert(bytes.end(), {static_cast<uint8_t>(sample & 0xFF), static_cast<uint8_t>(sample >> 8)});
            }
        }
    }
    return bytes;
}

// The signal steps alone (selectSpan: channel split, trigger, gain) and
// with the reductions of every channel shown, per buffer, with every option
// on. Arguments: points, then the source (0: 16-bit mono, 1: 16-bit stereo,
// 2: float stereo) and whether the reductions run.
void signalSteps(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const SourceLayout layouts[] = {
        {SampleFormat::signed16, 1}, {SampleFormat::signed16, 2}, {SampleFormat::float32, 2}};
    const SourceLayout layout = layouts[state.range(1)];
    const bool reduce = state.range(2) != 0;
    const std::vector<uint8_t> bytes = twoSpans(points, layout);
    const SampleBuffer buffer{bytes.data(), static_cast<uint32_t>(bytes.size()), layout, 0.016f};
    const SignalOptions options{true, true, layout.channels > 1 ? ChannelMode::stereo : ChannelMode::mono};
    static SignalState signal;  // 6.4 KB of scratch: the capture layer's, not the stack's
    TraceRow left{}, right{};
    long allocationsBefore = allocations.load();
    for (auto _ : state) {
        const SampleSpan shown = selectSpan(buffer, points, options, signal);
        if (reduce) {
            reduceSpanInto(shown, shown.left, points, 25, left);
            if (layout.channels > 1) reduceSpanInto(shown, shown.right, points, 25, right);
        }
        benchmark::DoNotOptimize(shown);
        benchmark::ClobberMemory();
    }
    state.counters["allocations"] = static_cast<double>(allocations.load() - allocationsBefore);
}
BENCHMARK(signalSteps)->ArgsProduct({{10, 32, 100}, {0, 1, 2}, {0, 1}});

}  // namespace
}  // namespace zembrit
