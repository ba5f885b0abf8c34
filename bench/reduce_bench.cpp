#include "capture/reduce.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

namespace zembrit {
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
    for (auto _ : state) {
        reduceInto(in, row);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(reduceFullBuffer)->Arg(10)->Arg(32)->Arg(100);

}  // namespace
}  // namespace zembrit
