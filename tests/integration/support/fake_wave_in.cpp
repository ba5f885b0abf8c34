#include "tests/integration/support/fake_wave_in.h"

#include <algorithm>
#include <cstring>

#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/shell_record.h"
#include "tests/integration/support/waiting.h"

namespace zembrit_test {

FakeWaveIn fake;

namespace {

using WaveCallback = void(CALLBACK*)(HWAVEIN, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);

HANDLE stallsReleased = CreateEventA(nullptr, TRUE, FALSE, nullptr);

void stallPoint(const char* call) {
    const char* stalling = fake.stallIn;
    if (!stalling || std::strcmp(stalling, call) != 0) return;
    ++fake.stalled;
    WaitForSingleObject(stallsReleased, fake.stallMs);
    --fake.stalled;
}

MMRESULT WINAPI fakeOpen(LPHWAVEIN device, UINT, LPCWAVEFORMATEX, DWORD_PTR callback, DWORD_PTR, DWORD) {
    stallPoint("waveInOpen");
    fake.callback = callback;
    *device = deviceNumber(++fake.opens);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakePrepare(HWAVEIN, LPWAVEHDR header, UINT) {
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeAdd(HWAVEIN, LPWAVEHDR header, UINT) {
    header->dwFlags = (header->dwFlags | WHDR_INQUEUE) & ~WHDR_DONE;
    fake.queued = header;
    ++fake.adds;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeStart(HWAVEIN) { return MMSYSERR_NOERROR; }

MMRESULT WINAPI fakeReset(HWAVEIN device) {
    stallPoint("waveInReset");
    ++fake.resets;
    WAVEHDR* header = fake.queued.exchange(nullptr);
    if (!header) return MMSYSERR_NOERROR;
    if (fake.keepAtReset) {
        fake.kept = header;
        fake.keptBy = device;
    } else {
        handBack(header, device);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeUnprepare(HWAVEIN, LPWAVEHDR header, UINT) {
    return header == fake.kept ? WAVERR_STILLPLAYING : MMSYSERR_NOERROR;
}

MMRESULT WINAPI fakeClose(HWAVEIN device) {
    stallPoint("waveInClose");
    if (device == fake.keptBy) return WAVERR_STILLPLAYING;
    ++fake.closes;
    return MMSYSERR_NOERROR;
}

}  // namespace

HWAVEIN deviceNumber(int n) { return reinterpret_cast<HWAVEIN>(static_cast<uintptr_t>(0x5EED0 + n)); }

void handBack(WAVEHDR* header, HWAVEIN device) {
    std::fill_n(header->lpData, header->dwBufferLength, static_cast<char>(0));
    header->dwBytesRecorded = header->dwBufferLength;
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    reinterpret_cast<WaveCallback>(fake.callback)(device, WIM_DATA, 0, reinterpret_cast<DWORD_PTR>(header), 0);
}

void patchFakeWaveIn(HMODULE m) {
    fake.keepAtReset = false;
    fake.opens = fake.adds = fake.resets = fake.closes = 0;
    fake.queued = nullptr;
    fake.kept = nullptr;
    fake.keptBy = nullptr;
    fake.stallIn = nullptr;
    fake.stallMs = 30000;
    ResetEvent(stallsReleased);
    decltype(&waveInOpen) open;
    decltype(&waveInPrepareHeader) prepare;
    decltype(&waveInAddBuffer) add;
    decltype(&waveInStart) startRecording;
    decltype(&waveInReset) reset;
    decltype(&waveInUnprepareHeader) unprepare;
    decltype(&waveInClose) close;
    patch(m, "winmm.dll", "waveInOpen", &fakeOpen, open);
    patch(m, "winmm.dll", "waveInPrepareHeader", &fakePrepare, prepare);
    patch(m, "winmm.dll", "waveInAddBuffer", &fakeAdd, add);
    patch(m, "winmm.dll", "waveInStart", &fakeStart, startRecording);
    patch(m, "winmm.dll", "waveInReset", &fakeReset, reset);
    patch(m, "winmm.dll", "waveInUnprepareHeader", &fakeUnprepare, unprepare);
    patch(m, "winmm.dll", "waveInClose", &fakeClose, close);
}

void releaseStalls() {
    fake.stallIn = nullptr;
    SetEvent(stallsReleased);
}

bool deliverFakeBuffer() {
    if (!pumpUntil([] { return fake.queued.load() != nullptr; })) return false;
    const int adds = fake.adds;
    handBack(fake.queued.exchange(nullptr), deviceNumber(fake.opens));
    return pumpUntil([&] { return fake.adds > adds; });
}

}  // namespace zembrit_test
