#pragma once
// Wave-in calls answered for a device of the test's own, patched into the
// plugin's imports: it hands the queued buffer back only when told to, or at
// a reset unless keepAtReset; and any one of its calls can stall, as a hung
// audio service's does, until the test releases it.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <string>

namespace zembrit_test {

struct FakeWaveIn {
    std::atomic<bool> keepAtReset{false};
    std::atomic<int> opens{0}, adds{0}, resets{0}, closes{0};
    std::atomic<WAVEHDR*> queued{nullptr};
    WAVEHDR* kept = nullptr;  // the buffer the device would not give back
    HWAVEIN keptBy = nullptr;
    DWORD_PTR callback = 0;
    // The call named here ("waveInReset", "waveInClose", ...) blocks until
    // released, or for stallMs (at most 30 s, so that no test can hang on it).
    std::atomic<const char*> stallIn{nullptr};
    std::atomic<DWORD> stallMs{30000};
    std::atomic<int> stalled{0};  // calls that are blocked now
};
extern FakeWaveIn fake;

HWAVEIN deviceNumber(int n);
// Fills the header with silence and hands it back through the callback.
void handBack(WAVEHDR* header, HWAVEIN device);
// Clears the fake and points every wave-in import of the plugin at it.
void patchFakeWaveIn(HMODULE plugin);
// Stalled calls answer from now on, and no call stalls any more.
void releaseStalls();
// The device records a buffer and hands it back; true once it is queued again.
bool deliverFakeBuffer();

}  // namespace zembrit_test
