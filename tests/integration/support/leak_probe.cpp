#include "tests/integration/support/leak_probe.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/import_patch.h"
#include "host/shell.h"
#include "tests/integration/support/waiting.h"

namespace zembrit_test {

long processThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    long count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

namespace {

// Handles are small multiples of 4, handed out lowest free first; a run of
// a thousand unused values means there are none above it.
long probedHandleCount() {
    constexpr int kUnusedRunToStop = 1024;
    long count = 0;
    int unused = 0;
    for (ULONG_PTR value = 4; unused < kUnusedRunToStop; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            unused = 0;
        } else {
            ++unused;
        }
    }
    return count;
}

}  // namespace

long processHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return static_cast<long>(count);
    return probedHandleCount();
}

int64_t committedPrivateBytes() {
    int64_t sum = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const BYTE* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) sum += static_cast<int64_t>(region.RegionSize);
        const BYTE* next = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return sum;
}

ResourceCounts measureResources() {
    ResourceCounts counts;
    counts.handles = processHandleCount();
    counts.threads = processThreadCount();
    counts.committedBytes = committedPrivateBytes();
    counts.gdiObjects = static_cast<long>(gdiLedger.live.size());
    return counts;
}

std::string describe(const ResourceCounts& counts) {
    return "handles " + std::to_string(counts.handles) + ", threads " + std::to_string(counts.threads) +
           ", committed " + std::to_string(counts.committedBytes / 1024) + " KiB, plugin GDI objects " +
           std::to_string(counts.gdiObjects);
}

// ---- Drawing objects --------------------------------------------------------

GdiLedger gdiLedger;

namespace {

decltype(&CreatePen) realCreatePen;
decltype(&CreateSolidBrush) realCreateSolidBrush;
decltype(&CreateCompatibleDC) realCreateCompatibleDC;
decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap;
decltype(&CreateDIBSection) realCreateDIBSection;
decltype(&DeleteObject) realDeleteObject;
decltype(&DeleteDC) realDeleteDC;

template <class T>
T made(T handle) {
    if (handle) {
        gdiLedger.live.insert(handle);
        ++gdiLedger.created;
    }
    return handle;
}

bool selectedSomewhere(HGDIOBJ object) {
    for (HDC dc : gdiLedger.memoryDCs)
        for (UINT kind : {OBJ_PEN, OBJ_BRUSH, OBJ_BITMAP})
            if (GetCurrentObject(dc, kind) == object) return true;
    return false;
}

HPEN WINAPI countedCreatePen(int style, int width, COLORREF color) {
    gdiLedger.penWidths.push_back(width);
    return made(realCreatePen(style, width, color));
}
HBRUSH WINAPI countedCreateSolidBrush(COLORREF color) { return made(realCreateSolidBrush(color)); }
HDC WINAPI countedCreateCompatibleDC(HDC dc) {
    HDC memory = made(realCreateCompatibleDC(dc));
    if (memory) gdiLedger.memoryDCs.insert(memory);
    return memory;
}
HBITMAP WINAPI countedCreateCompatibleBitmap(HDC dc, int width, int height) {
    gdiLedger.bitmapSizes.push_back({width, height});
    return made(realCreateCompatibleBitmap(dc, width, height));
}
HBITMAP WINAPI countedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset) {
    gdiLedger.bitmapSizes.push_back({info->bmiHeader.biWidth, std::abs(info->bmiHeader.biHeight)});
    return made(realCreateDIBSection(dc, info, usage, bits, section, offset));
}
BOOL WINAPI countedDeleteObject(HGDIOBJ object) {
    gdiLedger.deletedWhileSelected += selectedSomewhere(object);
    gdiLedger.live.erase(object);
    return realDeleteObject(object);
}
BOOL WINAPI countedDeleteDC(HDC dc) {
    gdiLedger.live.erase(dc);
    gdiLedger.memoryDCs.erase(dc);
    return realDeleteDC(dc);
}

template <class F>
bool patchIfImported(HMODULE module, const char* dll, const char* name, F replacement, F& original) {
    original = reinterpret_cast<F>(standin::patchImport(module, dll, name, reinterpret_cast<void*>(replacement)));
    return original != nullptr;
}

template <class F>
bool patch(HMODULE module, const char* dll, const char* name, F replacement, F& original) {
    if (patchIfImported(module, dll, name, replacement, original)) return true;
    ADD_FAILURE() << "the plugin does not import " << name;
    return false;
}

}  // namespace

bool countDrawingObjects(HMODULE plugin) {
    gdiLedger = {};
    // Bitmaps may come from either maker; at least one must be watched.
    const bool compatible = patchIfImported(plugin, "gdi32.dll", "CreateCompatibleBitmap",
                                            countedCreateCompatibleBitmap, realCreateCompatibleBitmap);
    const bool sections =
        patchIfImported(plugin, "gdi32.dll", "CreateDIBSection", countedCreateDIBSection, realCreateDIBSection);
    if (!compatible && !sections) ADD_FAILURE() << "the plugin imports no bitmap maker";
    return (compatible || sections) && patch(plugin, "gdi32.dll", "CreatePen", countedCreatePen, realCreatePen) &&
           patch(plugin, "gdi32.dll", "CreateSolidBrush", countedCreateSolidBrush, realCreateSolidBrush) &&
           patch(plugin, "gdi32.dll", "CreateCompatibleDC", countedCreateCompatibleDC, realCreateCompatibleDC) &&
           patch(plugin, "gdi32.dll", "DeleteObject", countedDeleteObject, realDeleteObject) &&
           patch(plugin, "gdi32.dll", "DeleteDC", countedDeleteDC, realDeleteDC);
}

// ---- Wave-in devices --------------------------------------------------------

WaveInLedger waveInLedger;

namespace {

decltype(&waveInOpen) realOpen;
decltype(&waveInPrepareHeader) realPrepare;
decltype(&waveInClose) realClose;
decltype(&waveInAddBuffer) realAdd;

MMRESULT WINAPI countedOpen(LPHWAVEIN device, UINT id, LPCWAVEFORMATEX format, DWORD_PTR callback, DWORD_PTR instance,
                            DWORD flags) {
    waveInLedger.calls.push_back("open " + std::to_string(format->nSamplesPerSec) + "/" +
                                 std::to_string(format->wBitsPerSample));
    const MMRESULT result = realOpen(device, id, format, callback, instance, flags);
    if (result == MMSYSERR_NOERROR) {
        waveInLedger.lastOpened = *device;
        ++waveInLedger.opened;
    }
    return result;
}

MMRESULT WINAPI countedPrepare(HWAVEIN device, LPWAVEHDR header, UINT size) {
    waveInLedger.calls.push_back("buffer " + std::to_string(header->dwBufferLength));
    return realPrepare(device, header, size);
}

MMRESULT WINAPI countedClose(HWAVEIN device) {
    waveInLedger.calls.push_back("close");
    const MMRESULT result = realClose(device);
    if (result == MMSYSERR_NOERROR) ++waveInLedger.closed;
    return result;
}

// A buffer comes back to waveInAddBuffer still holding what it recorded.
bool recordedLoudSamples(const WAVEHDR& header) {
    const auto* samples = reinterpret_cast<const short*>(header.lpData);
    const DWORD count = std::min(header.dwBytesRecorded, header.dwBufferLength) / sizeof(short);
    return std::any_of(samples, samples + count, [](short s) { return s > 1000 || s < -1000; });
}

MMRESULT WINAPI countedAdd(HWAVEIN device, LPWAVEHDR header, UINT size) {
    if (waveInLedger.firstLoudAgain == 0 && recordedLoudSamples(*header))
        waveInLedger.firstLoudAgain = GetTickCount64();
    waveInLedger.lastAddDevice = device;
    waveInLedger.lastAddLength = header->dwBufferLength;
    ++waveInLedger.adds;
    return realAdd(device, header, size);
}

DWORD userInterfaceThread;
decltype(&InvalidateRect) realInvalidateRect;

BOOL WINAPI countedInvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    if (GetCurrentThreadId() != userInterfaceThread) ++captureRepaints;
    return realInvalidateRect(window, rect, erase);
}

}  // namespace

std::atomic<int> captureRepaints{0};

bool countCaptureRepaints(HMODULE plugin) {
    userInterfaceThread = GetCurrentThreadId();
    captureRepaints = 0;
    return patch(plugin, "user32.dll", "InvalidateRect", countedInvalidateRect, realInvalidateRect);
}

bool countWaveInDevices(HMODULE plugin) {
    waveInLedger.opened = 0;
    waveInLedger.closed = 0;
    waveInLedger.adds = 0;
    waveInLedger.lastOpened = nullptr;
    waveInLedger.lastAddDevice = nullptr;
    waveInLedger.lastAddLength = 0;
    waveInLedger.firstLoudAgain = 0;
    waveInLedger.calls.clear();
    return patch(plugin, "winmm.dll", "waveInOpen", countedOpen, realOpen) &&
           patch(plugin, "winmm.dll", "waveInPrepareHeader", countedPrepare, realPrepare) &&
           patch(plugin, "winmm.dll", "waveInClose", countedClose, realClose) &&
           patch(plugin, "winmm.dll", "waveInAddBuffer", countedAdd, realAdd);
}

bool captureRunning() { return waveInLedger.opened > waveInLedger.closed; }

ResourceCounts settledResources(const ResourceCounts& limit) {
    ResourceCounts now;
    pumpUntil([&] {
        now = measureResources();
        return now.handles <= limit.handles && now.threads <= limit.threads && now.gdiObjects <= limit.gdiObjects &&
               now.committedBytes <= limit.committedBytes + kCommittedSlackBytes;
    });
    return now;
}

void expectNoGrowth(const ResourceCounts& first, const ResourceCounts& last) {
    EXPECT_LE(last.handles, first.handles) << describe(first) << " then " << describe(last);
    EXPECT_LE(last.threads, first.threads);
    EXPECT_LE(last.gdiObjects, first.gdiObjects);
    EXPECT_LE(last.committedBytes, first.committedBytes + kCommittedSlackBytes)
        << "grew by " << (last.committedBytes - first.committedBytes) / 1024 << " KiB";
}

// ---- Timing and reporting ---------------------------------------------------

ULONGLONG millisecondsTaken(const std::function<void()>& action) {
    const ULONGLONG begin = GetTickCount64();
    action();
    return GetTickCount64() - begin;
}

bool windowAnswers(HWND window) {
    DWORD_PTR answer = 0;
    return IsWindow(window) && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 3000, &answer) != 0;
}

void reportFigures(const std::string& line) {
    std::printf("[ figures  ] %s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace zembrit_test
