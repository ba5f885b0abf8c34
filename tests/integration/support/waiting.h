#pragma once
// Waiting for a condition that another thread makes true: with the test
// thread's messages pumped, or, where no window is involved, asleep.
#include <windows.h>

#include <functional>

namespace zembrit_test {

// Runs the test thread's message loop until done() holds; false after the time.
bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds = 3000);

// Sleeps pollMs at a time until done() holds; false after the time. Inline,
// so that the WASAPI engine's tests, which have no stand-in shell, can use it.
inline bool waitUntil(const std::function<bool()>& done, DWORD milliseconds = 3000, DWORD pollMs = 5) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        Sleep(pollMs);
    }
    return true;
}

}  // namespace zembrit_test
