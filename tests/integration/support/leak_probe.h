#pragma once
// What the test process holds (handles, threads, committed memory) and what
// the plugin made through its drawing and wave-in imports, for tests that
// compare the state before and after many runs.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace zembrit_test {

struct ResourceCounts {
    long handles = 0;
    long threads = 0;
    int64_t committedBytes = 0;  // committed private memory of the process
    long gdiObjects = 0;         // the plugin's drawing objects not yet deleted (see countDrawingObjects)
};

// GetProcessHandleCount where the platform answers it; Wine answers 0, and
// there every handle value is probed instead.
long processHandleCount();
long processThreadCount();
// The sum of the MEM_COMMIT | MEM_PRIVATE regions: Wine leaves PrivateUsage at 0.
int64_t committedPrivateBytes();

ResourceCounts measureResources();
std::string describe(const ResourceCounts& counts);

// The test process's heap and Wine's own bookkeeping settle a little higher
// than after a first cycle (64 KiB over 100 or 1,000 cycles: allocator free
// lists, Wine's per-thread and per-window caches). A capture block (one
// 4 KiB page) kept back per cycle exceeds this within 64 cycles.
constexpr int64_t kCommittedSlackBytes = 256 * 1024;
// Threads and handles of an audio driver or engine end a moment after it
// closes: what the process holds once they had a busy machine's time to go
// back within limit.
ResourceCounts settledResources(const ResourceCounts& limit);
// Nothing grew from first to last, committed memory within the slack.
void expectNoGrowth(const ResourceCounts& first, const ResourceCounts& last);

// ---- The plugin's drawing objects, counted at its gdi32 imports -----------

struct GdiLedger {
    std::set<HGDIOBJ> live;
    std::set<HDC> memoryDCs;
    long created = 0;
    long deletedWhileSelected = 0;
    std::vector<int> penWidths;
    std::vector<SIZE> bitmapSizes;
};
extern GdiLedger gdiLedger;

// Points the plugin's pen, brush, memory DC and bitmap imports at counters
// that fill gdiLedger; false, with a test failure, when one is missing.
bool countDrawingObjects(HMODULE plugin);

// ---- The plugin's wave-in devices, counted at its winmm imports -----------

// Calls pass on to the system; only what they answered is kept.
struct WaveInLedger {
    std::atomic<int> opened{0};  // successful waveInOpen calls
    std::atomic<int> closed{0};  // successful waveInClose calls
    std::atomic<int> adds{0};    // waveInAddBuffer calls, whatever they answered
    std::atomic<HWAVEIN> lastOpened{nullptr};
    std::atomic<HWAVEIN> lastAddDevice{nullptr};
    std::atomic<DWORD> lastAddLength{0};
    // When the plugin first queued again a 16-bit buffer that had recorded
    // a sample louder than a whisper; 0 until then, and the test may reset it.
    std::atomic<ULONGLONG> firstLoudAgain{0};
    // "open <rate>/<bits>", "buffer <bytes>" (prepared) and "close" calls in
    // order, whatever they answered; the control thread makes them.
    std::vector<std::string> calls;
};
extern WaveInLedger waveInLedger;

// Watches the plugin's waveInOpen, waveInPrepareHeader, waveInClose and waveInAddBuffer; false,
// with a test failure, when one is missing. A later patch of the same import
// gets the counter back from patchImport and can pass calls on to it.
bool countWaveInDevices(HMODULE plugin);

bool captureRunning();  // a device is open that has not been closed

// Repaint requests the plugin makes off the calling (user-interface)
// thread: the capture worker's. Counting starts at 0.
extern std::atomic<int> captureRepaints;
bool countCaptureRepaints(HMODULE plugin);

// ---- Timing and reporting -------------------------------------------------

ULONGLONG millisecondsTaken(const std::function<void()>& action);
// The window exists and its procedure answers WM_NULL within 3 s.
bool windowAnswers(HWND window);
// Prints one line of measured figures, for the log of a run.
void reportFigures(const std::string& line);

}  // namespace zembrit_test
