#include "capture/reduce.h"

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

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

}  // namespace
}  // namespace zembrit
