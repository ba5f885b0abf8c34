#pragma once
// The floors' measurement: the process's CPU time over a stretch of wall
// time, printed as the "cpu:" line the CPU harnesses read.
#include <windows.h>

#include <cstdint>
#include <cstdio>

inline uint64_t cpuMicroseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto micros = [](const FILETIME& t) { return ((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10; };
    return micros(kernel) + micros(user);
}

// Sleeps for seconds, then prints the CPU time taken meanwhile and how far
// count() went up (in units, "buffers" or "spans").
template <class Count>
void printCpuOver(int seconds, Count count, const char* units) {
    const uint64_t cpuBefore = cpuMicroseconds();
    const int countBefore = count();
    const DWORD wallBefore = GetTickCount();
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double cpuMs = (cpuMicroseconds() - cpuBefore) / 1000.0;
    const DWORD wallMs = GetTickCount() - wallBefore;
    std::printf("cpu: %.1f ms over %lu ms = %.3f%% of one core (%d %s)\n", cpuMs, static_cast<unsigned long>(wallMs),
                100.0 * cpuMs / wallMs, count() - countBefore, units);
}
