// Wave-in capture as the plugin runs it under Wine. The plugin's winmm,
// memory, handle and repaint imports are watched, made to fail, or replaced
// by a fake device; the trace row is read back from the plugin's memory.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "host/import_patch.h"
#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/waiting.h"
#include "tests/integration/support/window_picture.h"
#include "tests/support/sine.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;
using Row = std::vector<int32_t>;
using WaveCallback = void(CALLBACK*)(HWAVEIN, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);

constexpr int kRowCapacity = 101;
// The fake device is handed many buffers a test: each wait looks every millisecond.
constexpr DWORD kPollMs = 1;
const HWAVEIN kFakeDevice = reinterpret_cast<HWAVEIN>(0x5EED);

enum class Step { None, Open, Allocate, Prepare, Add, Start, Unprepare, Close };

std::string stepName(Step step) {
    const char* names[] = {"None", "Open", "Allocate", "Prepare", "Add", "Start", "Unprepare", "Close"};
    return names[static_cast<int>(step)];
}

// What the replacements do and what they saw.
struct WaveIn {
    bool fakeDevice = false;    // answer for a device instead of passing calls on to Wine's
    bool returnAtReset = true;  // the fake device hands its queued buffer back at a reset
    Step failAt = Step::None;
    int failAddsFrom = 0;             // the n-th queueing and every later one is refused; 0: none
    std::vector<uint8_t> resetBytes;  // what the fake device recorded when it is reset

    std::atomic<int> openCalls{0}, opened{0}, closed{0}, prepares{0}, adds{0}, starts{0}, resets{0};
    std::atomic<int> allocations{0}, releases{0}, invalidations{0}, emptyWindowInvalidations{0};
    std::atomic<WAVEHDR*> queued{nullptr};  // the fake device's buffer
    WAVEFORMATEX format{};
    UINT deviceId = 0;
    DWORD_PTR callback = 0, instance = 1;
    DWORD openFlags = 0;
    WAVEHDR* prepared = nullptr;
    DWORD preparedLength = 0;
    HWND windowAtOpen = nullptr;
    bool windowAtReset = false;
    std::vector<std::string> dockEventsAtReset;
    size_t unregistrationsAtReset = 0;
    std::mutex handlesLock;
    std::set<HANDLE> openHandles;  // events and threads the plugin created and has not closed
};

std::unique_ptr<WaveIn> wave;
DWORD uiThread;

struct RealCalls {
    decltype(&waveInOpen) open;
    decltype(&waveInPrepareHeader) prepare;
    decltype(&waveInAddBuffer) add;
    decltype(&waveInStart) start;
    decltype(&waveInReset) reset;
    decltype(&waveInUnprepareHeader) unprepare;
    decltype(&waveInClose) close;
    decltype(&VirtualAlloc) virtualAlloc;
    decltype(&VirtualFree) virtualFree;
    decltype(&CreateEventA) createEvent;
    decltype(&CreateThread) createThread;
    decltype(&CloseHandle) closeHandle;
    decltype(&InvalidateRect) invalidateRect;
} real;

bool failing(Step step) { return wave->failAt == step; }

BOOL CALLBACK takeScopeWindow(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "Zembrit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The plugin's own window: FindWindow would also see those of the other test
// processes that share the bench's desktop.
HWND ownScopeWindow() {
    HWND found = nullptr;
    EnumThreadWindows(uiThread, takeScopeWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void handBack(WAVEHDR* header, const std::vector<uint8_t>& bytes) {
    const size_t length = std::min<size_t>(bytes.size(), header->dwBufferLength);
    std::copy_n(bytes.begin(), length, header->lpData);
    header->dwBytesRecorded = static_cast<DWORD>(length);
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    reinterpret_cast<WaveCallback>(wave->callback)(kFakeDevice, WIM_DATA, wave->instance,
                                                   reinterpret_cast<DWORD_PTR>(header), 0);
}

MMRESULT WINAPI openSpy(LPHWAVEIN device, UINT id, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD_PTR instance,
                        DWORD flags) {
    ++wave->openCalls;
    wave->format = *format;
    wave->deviceId = id;
    wave->callback = callback;
    wave->instance = instance;
    wave->openFlags = flags;
    wave->windowAtOpen = ownScopeWindow();
    if (failing(Step::Open)) return MMSYSERR_BADDEVICEID;
    MMRESULT result = MMSYSERR_NOERROR;
    if (wave->fakeDevice)
        *device = kFakeDevice;
    else
        result = real.open(device, id, format, callback, instance, flags);
    if (result == MMSYSERR_NOERROR) ++wave->opened;
    return result;
}

MMRESULT WINAPI prepareSpy(HWAVEIN device, LPWAVEHDR header, UINT size) {
    ++wave->prepares;
    wave->prepared = header;
    wave->preparedLength = header->dwBufferLength;
    if (failing(Step::Prepare)) return MMSYSERR_NOMEM;
    if (!wave->fakeDevice) return real.prepare(device, header, size);
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI addSpy(HWAVEIN device, LPWAVEHDR header, UINT size) {
    const int call = ++wave->adds;
    if (failing(Step::Add) || (wave->failAddsFrom && call >= wave->failAddsFrom)) return MMSYSERR_NOMEM;
    if (!wave->fakeDevice) return real.add(device, header, size);
    if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    header->dwFlags = (header->dwFlags | WHDR_INQUEUE) & ~WHDR_DONE;
    wave->queued = header;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI startSpy(HWAVEIN device) {
    ++wave->starts;
    if (failing(Step::Start)) return MMSYSERR_ERROR;
    return wave->fakeDevice ? MMSYSERR_NOERROR : real.start(device);
}

MMRESULT WINAPI resetSpy(HWAVEIN device) {
    ++wave->resets;
    wave->windowAtReset = IsWindow(wave->windowAtOpen);
    wave->dockEventsAtReset = shellRecord.dockEvents;
    wave->unregistrationsAtReset = shellRecord.unregistrations.size();
    if (!wave->fakeDevice) return real.reset(device);
    if (wave->returnAtReset)
        if (WAVEHDR* header = wave->queued.exchange(nullptr)) handBack(header, wave->resetBytes);
    return MMSYSERR_NOERROR;
}

// A failing unprepare or close still does the real work, so that the test
// process keeps no device behind; only the answer is a failure.
MMRESULT WINAPI unprepareSpy(HWAVEIN device, LPWAVEHDR header, UINT size) {
    MMRESULT result = MMSYSERR_NOERROR;
    if (!wave->fakeDevice)
        result = real.unprepare(device, header, size);
    else if (header->dwFlags & WHDR_INQUEUE)
        result = WAVERR_STILLPLAYING;
    return failing(Step::Unprepare) ? MMSYSERR_ERROR : result;
}

MMRESULT WINAPI closeSpy(HWAVEIN device) {
    MMRESULT result = MMSYSERR_NOERROR;
    if (!wave->fakeDevice)
        result = real.close(device);
    else if (wave->queued.load())
        result = WAVERR_STILLPLAYING;
    if (result == MMSYSERR_NOERROR) ++wave->closed;
    return failing(Step::Close) ? MMSYSERR_ERROR : result;
}

LPVOID WINAPI allocSpy(LPVOID address, SIZE_T size, DWORD type, DWORD protection) {
    if (failing(Step::Allocate)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    LPVOID memory = real.virtualAlloc(address, size, type, protection);
    if (memory) ++wave->allocations;
    return memory;
}

BOOL WINAPI freeSpy(LPVOID address, SIZE_T size, DWORD type) {
    BOOL done = real.virtualFree(address, size, type);
    if (done && type == MEM_RELEASE) ++wave->releases;
    return done;
}

HANDLE remember(HANDLE handle) {
    std::lock_guard<std::mutex> lock(wave->handlesLock);
    if (handle) wave->openHandles.insert(handle);
    return handle;
}

HANDLE WINAPI createEventSpy(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL initial, LPCSTR name) {
    return remember(real.createEvent(security, manual, initial, name));
}

HANDLE WINAPI createThreadSpy(LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                              LPVOID parameter, DWORD flags, LPDWORD id) {
    return remember(real.createThread(security, stack, start, parameter, flags, id));
}

BOOL WINAPI closeHandleSpy(HANDLE handle) {
    {
        std::lock_guard<std::mutex> lock(wave->handlesLock);
        wave->openHandles.erase(handle);
    }
    return real.closeHandle(handle);
}

// Counts the repaint requests made off the user-interface thread: the capture's.
BOOL WINAPI invalidateSpy(HWND window, const RECT* rect, BOOL erase) {
    if (GetCurrentThreadId() != uiThread && window == wave->windowAtOpen && !rect && !erase) ++wave->invalidations;
    if (GetCurrentThreadId() != uiThread && !window) ++wave->emptyWindowInvalidations;
    return real.invalidateRect(window, rect, erase);
}

// Every point of a buffer at one amplitude (-128..127) in the given depth.
std::vector<uint8_t> flatBuffer(int amplitude, int bits, int points) {
    std::vector<uint8_t> bytes(static_cast<size_t>(points) * 16);
    for (size_t at = 0; at < bytes.size(); ++at) {
        if (bits == 8)
            bytes[at] = static_cast<uint8_t>(amplitude + 128);
        else
            bytes[at] = at % 2 ? static_cast<uint8_t>(amplitude) : 0;
    }
    return bytes;
}

// The row a flat raw value r settles at over ten points: the end points show
// r, the interior r - 1; nothing beyond the ten points is written.
Row settledRow(int32_t r) {
    Row row(kRowCapacity, 0);
    for (int i = 0; i < 10; ++i) row[i] = (i == 0 || i == 9) ? r : r - 1;
    return row;
}

// The plugin exports only its entry points: its trace row is found as the
// one place in its writable sections that holds a row it was made to settle at.
const int32_t* findRow(HMODULE module, const Row& row) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(module)->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    const int32_t* found = nullptr;
    int matches = 0;
    for (int s = 0; s < nt->FileHeader.NumberOfSections; ++s, ++section) {
        if (!(section->Characteristics & IMAGE_SCN_MEM_WRITE)) continue;
        auto* begin = reinterpret_cast<const int32_t*>(base + section->VirtualAddress);
        const size_t count = section->Misc.VirtualSize / sizeof(int32_t);
        for (size_t at = 0; at + row.size() <= count; ++at)
            if (std::equal(row.begin(), row.end(), begin + at)) {
                found = begin + at;
                ++matches;
            }
    }
    return matches == 1 ? found : nullptr;
}

Row rowAt(const int32_t* at) { return Row(at, at + kRowCapacity); }

// Ten points across a vertical trace 100 pixels wide: amplitude 95 gives raw 37.
constexpr char kTenPointsAcross100[] =
    "Zembrit.plugin.wave.buffsize: 10\nZembrit.plugin.width: 100\nZembrit.plugin.style.scopeType: v\n";

class Capture : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        wave = std::make_unique<WaveIn>();
        uiThread = GetCurrentThreadId();
    }

    // Loads the plugin with its wave-in, memory, handle and repaint calls in the test's hands.
    void loadWatched() {
        ASSERT_TRUE(load());
        HMODULE m = plugin.module;
        patch(m, "winmm.dll", "waveInOpen", &openSpy, real.open);
        patch(m, "winmm.dll", "waveInPrepareHeader", &prepareSpy, real.prepare);
        patch(m, "winmm.dll", "waveInAddBuffer", &addSpy, real.add);
        patch(m, "winmm.dll", "waveInStart", &startSpy, real.start);
        patch(m, "winmm.dll", "waveInReset", &resetSpy, real.reset);
        patch(m, "winmm.dll", "waveInUnprepareHeader", &unprepareSpy, real.unprepare);
        patch(m, "winmm.dll", "waveInClose", &closeSpy, real.close);
        patch(m, "kernel32.dll", "VirtualAlloc", &allocSpy, real.virtualAlloc);
        patch(m, "kernel32.dll", "VirtualFree", &freeSpy, real.virtualFree);
        patch(m, "kernel32.dll", "CreateEventA", &createEventSpy, real.createEvent);
        patch(m, "kernel32.dll", "CreateThread", &createThreadSpy, real.createThread);
        patch(m, "kernel32.dll", "CloseHandle", &closeHandleSpy, real.closeHandle);
        patch(m, "user32.dll", "InvalidateRect", &invalidateSpy, real.invalidateRect);
    }

    void startWatched(const std::string& config) {
        writeConfig(config);
        loadWatched();
        ASSERT_EQ(start(), 0);
    }

    static void toggleRecord() { standin::broadcast("@ZembritInternal ToggleRecord"); }

    static ULONGLONG timedToggle() { return millisecondsTaken(toggleRecord); }

    // The fake device records `bytes` and hands the buffer back; returns once
    // the capture has tried to queue it again.
    static void deliver(const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(waitUntil([] { return wave->queued.load() != nullptr; }, kEventuallyMs, kPollMs))
            << "no buffer queued";
        const int addsBefore = wave->adds;
        handBack(wave->queued.exchange(nullptr), bytes);
        ASSERT_TRUE(waitUntil([&] { return wave->adds > addsBefore; }, kEventuallyMs, kPollMs))
            << "the buffer was not queued again";
    }

    // Settles the trace at a row no other memory of the plugin holds, and finds it.
    const int32_t* locateRow(int bits = 16) {
        for (int n = 0; n < 8; ++n) deliver(flatBuffer(95, bits, 10));
        const int32_t* row = findRow(plugin.module, settledRow(37));
        EXPECT_NE(row, nullptr) << "the settled trace row is not in the plugin's memory";
        return row;
    }
};

struct FormatCase {
    int kiloHertz, bits;
    DWORD samplesPerSecond, bytesPerSecond;
    WORD blockAlign;
};

// How a stored rate and depth become a format is its rule's (unit-tested);
// this is the plugin opening the mapper with it once its window exists.
TEST_F(Capture, StartUpOpensTheMapperWithTheConfiguredFormat) {
    const FormatCase cases[] = {{8, 8, 8000, 8000, 1},
                                {16, 16, 16000, 32000, 2},
                                {44, 16, 44000, 88000, 2},
                                {44, 8, 44000, 44000, 1},
                                {16, 12, 16000, 16000, 1}};
    loadWatched();
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.kiloHertz) + " kHz, " + std::to_string(c.bits) + " bits");
        writeConfig("Zembrit.plugin.wave.KHz: " + std::to_string(c.kiloHertz) +
                    "\nZembrit.plugin.wave.bit: " + std::to_string(c.bits) + "\n");
        wave = std::make_unique<WaveIn>();
        wave->fakeDevice = true;
        ASSERT_EQ(start(), 0);

        ASSERT_EQ(wave->openCalls, 1);
        EXPECT_NE(wave->windowAtOpen, nullptr) << "capture must start once the window exists";
        EXPECT_EQ(wave->deviceId, WAVE_MAPPER);
        EXPECT_EQ(wave->openFlags, static_cast<DWORD>(CALLBACK_FUNCTION));
        EXPECT_NE(wave->callback, 0u);
        EXPECT_EQ(wave->instance, 0u);
        const WAVEFORMATEX& f = wave->format;
        EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(f.nChannels, 1);
        EXPECT_EQ(f.nSamplesPerSec, c.samplesPerSecond);
        EXPECT_EQ(f.nAvgBytesPerSec, c.bytesPerSecond);
        EXPECT_EQ(f.nBlockAlign, c.blockAlign);
        EXPECT_EQ(f.wBitsPerSample, c.bits);
        EXPECT_EQ(f.cbSize, 0);
        EXPECT_EQ(wave->starts, 1);
        EXPECT_TRUE(shellRecord.messageBoxes.empty());
        end();
    }
}

TEST_F(Capture, NothingIsOpenedAtStartUpWhenNotConfigured) {
    startWatched(kQuiet);
    pump(200);
    standin::reconfigure();
    end();
    EXPECT_EQ(wave->openCalls, 0);
    EXPECT_EQ(wave->resets, 0);
    EXPECT_EQ(wave->closed, 0);
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

TEST_F(Capture, BufferHoldsSixteenBytesPerPointAndFollowsSetBuff) {
    startWatched("Zembrit.plugin.wave.buffsize: 10\n");
    ASSERT_EQ(wave->opened, 1);
    EXPECT_EQ(wave->preparedLength, 160u);
    MEMORY_BASIC_INFORMATION memory{};
    ASSERT_NE(VirtualQuery(wave->prepared->lpData, &memory, sizeof memory), 0u);
    EXPECT_EQ(memory.State, static_cast<DWORD>(MEM_COMMIT));
    EXPECT_EQ(memory.Protect, static_cast<DWORD>(PAGE_READWRITE));

    standin::broadcast("@ZembritInternal SetBuff 100");
    EXPECT_EQ(wave->releases, 1) << "the restart releases the old buffer";
    EXPECT_EQ(wave->opened, 2);
    EXPECT_EQ(wave->preparedLength, 1600u);
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

struct StepFailure {
    Step step;
    const char* message;
};

class FailingStart : public Capture, public ::testing::WithParamInterface<StepFailure> {};

TEST_P(FailingStart, ShowsItsMessageReleasesWhatItGotAndStaysStopped) {
    startWatched(kQuiet);
    wave->failAt = GetParam().step;
    toggleRecord();
    ASSERT_EQ(boxTexts(), std::vector<std::string>{GetParam().message});
    const auto& box = shellRecord.messageBoxes[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Zembrit v1.22b");
    EXPECT_EQ(box.type & (MB_TOPMOST | MB_ICONERROR), static_cast<UINT>(MB_TOPMOST | MB_ICONERROR));
    EXPECT_EQ(wave->opened, wave->closed);
    EXPECT_EQ(wave->allocations, wave->releases);
    EXPECT_EQ(wave->starts, 0);

    // Still stopped: the next toggle starts afresh instead of stopping.
    wave->failAt = Step::None;
    toggleRecord();
    EXPECT_EQ(wave->resets, 0);
    EXPECT_EQ(wave->starts, 1);
    EXPECT_EQ(shellRecord.messageBoxes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingStart,
                         ::testing::Values(StepFailure{Step::Open, "Can't open WAVE In Device!"},
                                           StepFailure{Step::Allocate, "Can't allocate memory for WAVE buffer!"},
                                           StepFailure{Step::Prepare, "Error preparing WAVEHDR!"},
                                           StepFailure{Step::Add, "Error queueing WAVEHDR!"}),
                         [](const auto& info) { return stepName(info.param.step); });

TEST_F(Capture, RefusedRecordStartLeavesCaptureRunningUntilTheNextStop) {
    startWatched(kQuiet);
    wave->failAt = Step::Start;
    toggleRecord();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Error starting record!"});
    EXPECT_EQ(wave->releases, 0);

    wave->failAt = Step::None;
    const ULONGLONG stopTook = timedToggle();
    EXPECT_EQ(wave->resets, 1) << "the toggle must have stopped a running capture";
    EXPECT_LT(stopTook, kBufferWaitMs) << "the reset hands the queued buffer back";
    EXPECT_EQ(wave->adds, 1) << "the buffer the reset handed back was queued again";
    EXPECT_EQ(wave->closed, 1);
    EXPECT_EQ(wave->releases, wave->allocations);
    EXPECT_EQ(shellRecord.messageBoxes.size(), 1u);
}

class FailingStop : public Capture, public ::testing::WithParamInterface<StepFailure> {};

TEST_P(FailingStop, ShowsItsMessageAndTheStopGoesOn) {
    startWatched("");
    ASSERT_EQ(wave->starts, 1);
    wave->failAt = GetParam().step;
    toggleRecord();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{GetParam().message});
    EXPECT_EQ(wave->closed, 1) << "the close is still tried";
    EXPECT_EQ(wave->releases, 0) << "a block the device may still know of is kept";

    wave->failAt = Step::None;
    toggleRecord();
    EXPECT_EQ(wave->starts, 2) << "capture was left stopped";
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingStop,
                         ::testing::Values(StepFailure{Step::Unprepare, "Error unpreparing WAVEHDR!"},
                                           StepFailure{Step::Close, "Can't close WAVE In Device!"}),
                         [](const auto& info) { return stepName(info.param.step); });

TEST_F(Capture, WithoutAnInputDeviceEveryStartSaysSo) {
    writeConfig("");
    loadWatched();
    wave->failAt = Step::Open;
    ASSERT_EQ(start(), 0) << "a capture that does not start does not fail the plugin";
    for (int toggle = 0; toggle < 3; ++toggle) toggleRecord();
    EXPECT_EQ(boxTexts(), std::vector<std::string>(4, "Can't open WAVE In Device!"));
    EXPECT_EQ(wave->openCalls, 4);
    EXPECT_EQ(wave->prepares, 0);
    EXPECT_EQ(wave->allocations, 0);
    pump(100);
    EXPECT_TRUE(IsWindowVisible(ownScopeWindow()));
    end();
    EXPECT_EQ(wave->resets, 0);
    EXPECT_EQ(shellRecord.messageBoxes.size(), 4u);
}

// The fake device keeps Wine's audio threads out of the thread count.
TEST_F(Capture, HundredFailedStartsLeakNothing) {
    startWatched(kQuiet);
    wave->fakeDevice = true;
    toggleRecord();
    toggleRecord();
    ASSERT_EQ(wave->closed, 1);
    const long threadsBefore = processThreadCount();
    const Step steps[] = {Step::Open, Step::Allocate, Step::Prepare, Step::Add};
    for (int attempt = 0; attempt < 100; ++attempt) {
        wave->failAt = steps[attempt % 4];
        toggleRecord();
    }
    EXPECT_EQ(shellRecord.messageBoxes.size(), 100u);
    EXPECT_EQ(wave->opened, 1 + 75);
    EXPECT_EQ(wave->closed, wave->opened);
    EXPECT_EQ(wave->allocations, 1 + 50);
    EXPECT_EQ(wave->releases, wave->allocations);
    {
        std::lock_guard<std::mutex> lock(wave->handlesLock);
        EXPECT_TRUE(wave->openHandles.empty()) << wave->openHandles.size() << " events or threads left open";
    }
    EXPECT_LE(processThreadCount(), threadsBefore);

    wave->failAt = Step::None;
    toggleRecord();
    EXPECT_EQ(wave->starts, 2);
    EXPECT_EQ(shellRecord.messageBoxes.size(), 100u);
}

TEST_F(Capture, ZeroByteBufferIsQueuedAgainAndChangesNothing) {
    startWatched(std::string(kQuiet) + kTenPointsAcross100);
    wave->fakeDevice = true;
    toggleRecord();
    const int32_t* row = locateRow();
    ASSERT_NE(row, nullptr);
    const int invalidations = wave->invalidations;
    const int adds = wave->adds;
    deliver({});
    EXPECT_EQ(wave->adds, adds + 1);
    EXPECT_EQ(rowAt(row), settledRow(37));
    EXPECT_EQ(wave->invalidations, invalidations);
}

TEST_F(Capture, ResetBufferIsReducedAndCountedNotQueuedAgain) {
    startWatched(std::string(kQuiet) + kTenPointsAcross100);
    wave->fakeDevice = true;
    toggleRecord();
    const int32_t* row = locateRow();
    ASSERT_NE(row, nullptr);
    wave->resetBytes = flatBuffer(-60, 16, 10);  // raw -23
    const int adds = wave->adds;
    const ULONGLONG stopTook = timedToggle();
    EXPECT_EQ(wave->resets, 1);
    EXPECT_EQ(wave->adds, adds);
    EXPECT_LT(stopTook, kBufferWaitMs) << "a buffer back at the reset needs no wait";
    EXPECT_EQ(row[0], -23);
    EXPECT_EQ(row[9], -23);
    EXPECT_EQ(wave->closed, 1);
    EXPECT_EQ(wave->releases, wave->allocations);
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

TEST_F(Capture, StopEndsWithinItsBoundWhenTheBufferNeverComesBack) {
    startWatched(kQuiet);
    wave->fakeDevice = true;
    wave->returnAtReset = false;
    toggleRecord();
    WAVEHDR* kept = wave->queued;
    ASSERT_NE(kept, nullptr);
    const int adds = wave->adds;

    const ULONGLONG stopTook = timedToggle();
    EXPECT_GE(stopTook, kBufferWaitMs);
    EXPECT_LT(stopTook, kHangMs);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Error unpreparing WAVEHDR!", "Can't close WAVE In Device!"}));
    EXPECT_EQ(wave->releases, 0) << "memory the device still holds was released";

    // The device may still write into the buffer and hand it back.
    MEMORY_BASIC_INFORMATION memory{};
    ASSERT_NE(VirtualQuery(kept, &memory, sizeof memory), 0u);
    EXPECT_EQ(memory.State, static_cast<DWORD>(MEM_COMMIT));
    handBack(wave->queued.exchange(nullptr), flatBuffer(50, 16, 32));
    Sleep(200);
    EXPECT_EQ(wave->adds, adds) << "a late buffer was queued again";

    // A new capture runs on a buffer of its own.
    wave->returnAtReset = true;
    toggleRecord();
    ASSERT_TRUE(waitUntil([] { return wave->queued.load() != nullptr; }, kEventuallyMs, kPollMs));
    EXPECT_NE(wave->queued.load(), kept);
    deliver(flatBuffer(50, 16, 32));
    EXPECT_EQ(shellRecord.messageBoxes.size(), 2u);
}

TEST_F(Capture, RefusedQueueingInTheWorkerEndsTheStopWithoutWaiting) {
    startWatched(kQuiet);
    wave->fakeDevice = true;
    toggleRecord();
    wave->failAddsFrom = 2;
    deliver(flatBuffer(50, 16, 32));
    EXPECT_EQ(wave->adds, 2);

    const ULONGLONG stopTook = timedToggle();
    EXPECT_LT(stopTook, kBufferWaitMs);
    EXPECT_EQ(wave->closed, 1);
    EXPECT_EQ(wave->releases, wave->allocations);
    EXPECT_TRUE(shellRecord.messageBoxes.empty()) << "a failed queueing in the worker is not reported";
}

// winmm may say twice that a buffer came back; by the second time the
// header is queued again, and the device refuses to queue it once more.
TEST_F(Capture, DuplicateNotificationNeverFreesTheBufferTheDeviceHolds) {
    startWatched(kQuiet);
    wave->fakeDevice = true;
    wave->returnAtReset = false;
    toggleRecord();
    deliver(flatBuffer(50, 16, 32));
    WAVEHDR* requeued = wave->queued;
    ASSERT_NE(requeued, nullptr);
    reinterpret_cast<WaveCallback>(wave->callback)(kFakeDevice, WIM_DATA, wave->instance,
                                                   reinterpret_cast<DWORD_PTR>(requeued), 0);
    Sleep(200);

    const ULONGLONG stopTook = timedToggle();
    EXPECT_GE(stopTook, kBufferWaitMs) << "the stop took the queued buffer for home";
    EXPECT_EQ(wave->releases, 0) << "memory the device still holds was released";
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Error unpreparing WAVEHDR!", "Can't close WAVE In Device!"}));
}

// A rate of -1 kHz wraps to some 4.29 GHz: a driver may open the device at
// it and then never hand the buffer back at a reset, and every quit hangs.
TEST_F(Capture, RateNoDeviceRecordsIsRefusedBeforeTheDeviceAndQuitsStayQuick) {
    startWatched("");
    ASSERT_EQ(wave->opened, 1);
    standin::broadcast("@ZembritInternal SetKHz -1");
    EXPECT_EQ(configValue("Zembrit.plugin.wave.KHz:"), "-1") << "the value is stored as typed";
    EXPECT_LT(millisecondsTaken([this] { end(); }), kHangMs);

    ASSERT_EQ(start(), 0);  // with that value in the file
    EXPECT_EQ(boxTexts(), std::vector<std::string>(2, "Can't open WAVE In Device!"));
    EXPECT_EQ(wave->openCalls, 1) << "the device was asked";
    EXPECT_LT(millisecondsTaken([this] { end(); }), kHangMs);
}

class Silence : public Capture, public ::testing::WithParamInterface<int> {};

TEST_P(Silence, RestsTheTraceOnTheSmoothingsRestingRow) {
    const int bits = GetParam();
    startWatched(std::string(kQuiet) + kTenPointsAcross100 + "Zembrit.plugin.wave.bit: " + std::to_string(bits) + "\n");
    wave->fakeDevice = true;
    toggleRecord();
    const int32_t* row = locateRow(bits);
    ASSERT_NE(row, nullptr);
    for (int n = 0; n < 8; ++n) deliver(flatBuffer(0, bits, 10));
    EXPECT_EQ(rowAt(row), settledRow(0));
}

INSTANTIATE_TEST_SUITE_P(Depths, Silence, ::testing::Values(8, 16),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

TEST_F(Capture, ToneFromTheDeviceMovesTheTrace) {
    startWatched(std::string(kQuiet) + kTenPointsAcross100);
    wave->fakeDevice = true;
    toggleRecord();
    const int32_t* row = locateRow();
    ASSERT_NE(row, nullptr);
    toggleRecord();
    wave->fakeDevice = false;
    toggleRecord();
    ASSERT_EQ(wave->starts, 2);

    // Ten points of 5 ms buffers of a 440 Hz tone repeat after five buffers:
    // a handful of rows, changing all the time, as fast as the device runs.
    std::set<Row> seen;
    int32_t largest = 0;
    const bool moved = pumpUntil([&] {
        const Row now = rowAt(row);
        if (now == settledRow(37)) return false;
        for (int i = 0; i < 10; ++i) largest = std::max(largest, std::abs(now[i]));
        seen.insert(now);
        return seen.size() >= 5;
    });
    EXPECT_TRUE(moved) << "the device's buffers do not move the trace: " << seen.size() << " rows";
    EXPECT_GT(largest, 2);
    EXPECT_LE(largest, 50) << "a value beyond half the window";
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

WNDPROC scopeProcedure;
std::atomic<int> paints{0};

LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++paints;
    return CallWindowProcA(scopeProcedure, window, message, wParam, lParam);
}

TEST_F(Capture, RepaintsAtMostOncePerFrameInterval) {
    startWatched("Zembrit.plugin.wave.fps: 10\n");
    ASSERT_EQ(wave->starts, 1);
    scopeProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wave->windowAtOpen, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countingProcedure)));
    ASSERT_NE(scopeProcedure, nullptr);
    pump(300);
    // However long ten paints take on this machine, no more than one repaint
    // per 100 ms interval was asked for or painted meanwhile.
    paints = 0;
    wave->invalidations = 0;
    const ULONGLONG began = GetTickCount64();
    ASSERT_TRUE(pumpUntil([] { return paints >= 10; })) << "capture does not repaint";
    const auto intervals = static_cast<int>((GetTickCount64() - began) / 100) + 2;
    EXPECT_LE(wave->invalidations, intervals);
    EXPECT_LE(paints, intervals);
}

class DockedCapture : public Capture {
protected:
    bool withDock() const override { return true; }
};

TEST_F(DockedCapture, EndPluginStopsCaptureBeforeAnythingElse) {
    startWatched("Zembrit.plugin.inSlit: true\n");
    EXPECT_EQ(wave->opened, 1);
    ASSERT_NE(wave->windowAtOpen, nullptr);
    pump(200);
    end();
    EXPECT_EQ(wave->resets, 1);
    EXPECT_TRUE(wave->windowAtReset);
    EXPECT_EQ(wave->dockEventsAtReset, std::vector<std::string>{"add"});
    EXPECT_EQ(wave->unregistrationsAtReset, 0u);
    EXPECT_EQ(wave->closed, 1);
    EXPECT_EQ(shellRecord.dockEvents, (std::vector<std::string>{"add", "remove"}));
}

TEST_F(DockedCapture, DockDestroyedWithItsScopeStopsCaptureAndTheNextStartRegistersAgain) {
    startWatched("Zembrit.plugin.inSlit: true\n");
    ASSERT_TRUE(pumpUntil([] { return wave->invalidations > 2; })) << "the trace never moved";

    DestroyWindow(standin::shellDockWindow());
    EXPECT_EQ(scopeWindow(), nullptr) << "the scope did not go with the dock";
    EXPECT_EQ(wave->closed, 1) << "capture outlived its window";
    pump(300);
    EXPECT_EQ(wave->emptyWindowInvalidations, 0);
    end();
    EXPECT_EQ(start(), 0);
    for (const auto& box : shellRecord.messageBoxes) ADD_FAILURE() << box.text;
}

// ---- Two channels on screen ----------------------------------------------

constexpr COLORREF kTraceColor = RGB(0xe8, 0xf0, 0xff);  // the stand-in style's toolbar.textColor

// 16-bit stereo frames of the two channels' levels, 256 frames each.
std::vector<uint8_t> stereoCycle(const std::vector<int16_t>& left, const std::vector<int16_t>& right) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < 256; ++i)
        for (int16_t sample : {left[i], right[i]})
            bytes.insert(bytes.end(), {static_cast<uint8_t>(sample), static_cast<uint8_t>(sample >> 8)});
    return bytes;
}

// One cycle over the 256 frames; the cosine starts a quarter turn on.
constexpr double kPi = 3.14159265358979;
const std::vector<int16_t> kSine = sineLevels(256, 2 * kPi / 256);
const std::vector<int16_t> kCosine = sineLevels(256, 2 * kPi / 256, kPi / 2);

std::vector<int16_t> steady(double fraction) {
    return std::vector<int16_t>(256, static_cast<int16_t>(std::lround(fraction * 32767)));
}

class TwoChannels : public Capture {
protected:
    // The running capture gets the same buffer until the trace settles; then one paint.
    void paintAfter(const std::vector<uint8_t>& buffer) {
        for (int n = 0; n < 8; ++n) deliver(buffer);
        HWND window = wave->windowAtOpen;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        shown = windowPicture(window);
    }

    void showXy(const std::vector<uint8_t>& buffer) {
        startWatched(std::string(kQuiet) +
                     "Zembrit.plugin.channels: xy\nZembrit.plugin.width: 100\nZembrit.plugin.height: 100\n");
        wave->fakeDevice = true;
        toggleRecord();
        paintAfter(buffer);
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x)
                if (shown.at(x, y) == kTraceColor) traced.push_back(POINT{x, y});
    }

    Picture shown;
    std::vector<POINT> traced;  // the pixels in the trace colour, top row first
};

// 100 x 100 with a border of 1: the figure spans pixels 1 to 98 around 50.
TEST_F(TwoChannels, EqualChannelsDrawTheRisingDiagonal) {
    showXy(stereoCycle(kSine, kSine));
    ASSERT_GE(traced.size(), 90u);
    for (const POINT& p : traced) EXPECT_LE(std::abs(p.x + p.y - 100), 1) << p.x << "," << p.y;
    const auto byX = [](POINT a, POINT b) { return a.x < b.x; };
    const auto [left, right] = std::minmax_element(traced.begin(), traced.end(), byX);
    EXPECT_LE(left->x, 2);
    EXPECT_GE(right->x, 97);
}

TEST_F(TwoChannels, QuarterCycleApartDrawsAnEllipseTouchingAllFourMargins) {
    showXy(stereoCycle(kSine, kCosine));
    ASSERT_GE(traced.size(), 200u);
    LONG minX = 100, maxX = 0, minY = 100, maxY = 0;
    for (const POINT& p : traced) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        EXPECT_NEAR(std::hypot(p.x - 50.0, p.y - 50.0), 49.0, 2.5) << p.x << "," << p.y;
    }
    for (LONG edge : {minX, minY}) EXPECT_NEAR(edge, 1, 1);
    for (LONG edge : {maxX, maxY}) EXPECT_NEAR(edge, 98, 1);
}

// Picked while capturing, stereo restarts the capture with two channels.
TEST_F(TwoChannels, StereoDrawsLeftInTheTraceColourAndRightHalfwayToTheBackground) {
    startWatched(std::string(kQuiet) + "Zembrit.plugin.height: 40\nZembrit.plugin.trigger: rising\n");
    wave->fakeDevice = true;
    toggleRecord();
    standin::broadcast("@ZembritInternal SetChannels stereo");
    EXPECT_EQ(wave->opened, 2);
    EXPECT_EQ(wave->format.nChannels, 2);
    EXPECT_EQ(wave->format.nBlockAlign, 4);
    EXPECT_EQ(wave->preparedLength, 32u * 8 * 4 * 2) << "two trace spans of 16-bit pairs";
    paintAfter(stereoCycle(steady(0.3), steady(-0.3)));
    // The trace colour halfway to the style's fill colour, 5a 7f a6.
    const COLORREF mixed = RGB((0xe8 + 0x5a) / 2, (0xf0 + 0x7f) / 2, (0xff + 0xa6) / 2);
    std::vector<int> leftRows, rightRows;  // down the middle column
    for (int y = 0; y < 40; ++y) {
        if (shown.at(50, y) == kTraceColor) leftRows.push_back(y);
        if (shown.at(50, y) == mixed) rightRows.push_back(y);
    }
    ASSERT_EQ(leftRows.size(), 1u);
    ASSERT_EQ(rightRows.size(), 1u);
    EXPECT_LT(leftRows[0], 20);
    EXPECT_GT(rightRows[0], 20);
}

}  // namespace
}  // namespace zembrit_test
