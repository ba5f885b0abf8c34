#pragma once
// Waiting for a condition that another thread makes true: with the test
// thread's messages pumped, or, where no window is involved, asleep.
// Timings here only tell a hang from a busy machine, never how fast.
#include <windows.h>

#include <functional>

namespace zembrit_test {

// A bound on one action of the shell's thread. By design it waits on capture
// 3 s at most; the hangs guarded against (a call into a stalled audio stack)
// last from 8 s to a minute, and the fakes here stall 30 s.
constexpr DWORD kHangMs = 6000;
// A stop whose buffer never comes home waits 2 s for it (the plugin's bound):
// at least this long. A stop that needs no wait takes far less, busy or not.
constexpr DWORD kBufferWaitMs = 1900;
// How long something another thread makes true (buffers arriving, a repaint,
// a module let go) may take on a busy machine before it counts as never.
constexpr DWORD kEventuallyMs = 20000;

// Runs the test thread's message loop until done() holds; false after the time.
bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds = kEventuallyMs);

// Sleeps pollMs at a time until done() holds; false after the time. Inline,
// so that the WASAPI engine's tests, which have no stand-in shell, can use it.
inline bool waitUntil(const std::function<bool()>& done, DWORD milliseconds = kEventuallyMs, DWORD pollMs = 5) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        Sleep(pollMs);
    }
    return true;
}

}  // namespace zembrit_test
