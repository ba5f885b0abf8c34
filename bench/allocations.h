#pragma once
// Every allocation in the benchmark program is counted (reduce_bench.cpp
// replaces operator new), so a benchmark shows that its loop makes none.
namespace zembrit {
long allocationCount();
}
