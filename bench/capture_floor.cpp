// The platform's floor for capture cost: opens the default wave-in device
// like the plugin (16 kHz, 16-bit mono, one 512-byte buffer), hands each
// returned buffer to a worker thread that only queues it again, and prints
// the process's CPU time over the run. Nothing is reduced or painted.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "bench/process_cpu.h"

namespace {

HWAVEIN device;
WAVEHDR header;
HANDLE bufferBack;
std::atomic<bool> running{true};
std::atomic<int> buffers{0};

void CALLBACK onWaveIn(HWAVEIN, UINT message, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    if (message == WIM_DATA) SetEvent(bufferBack);
}

DWORD WINAPI requeueLoop(void*) {
    while (running.load()) {
        if (WaitForSingleObject(bufferBack, 100) != WAIT_OBJECT_0) continue;
        ++buffers;
        if (running.load()) waveInAddBuffer(device, &header, sizeof header);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 16000, 32000, 2, 16, 0};
    static char data[512];
    header.lpData = data;
    header.dwBufferLength = sizeof data;
    bufferBack = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (waveInOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(onWaveIn), 0, CALLBACK_FUNCTION)) {
        std::printf("cannot open the wave-in device\n");
        return 1;
    }
    HANDLE worker = CreateThread(nullptr, 0, requeueLoop, nullptr, 0, nullptr);
    waveInPrepareHeader(device, &header, sizeof header);
    waveInAddBuffer(device, &header, sizeof header);
    waveInStart(device);
    Sleep(1000);  // past the device's start-up
    printCpuOver(
        seconds, [&] { return buffers.load(); }, "buffers");
    running = false;
    waveInReset(device);
    WaitForSingleObject(worker, 2000);
    waveInUnprepareHeader(device, &header, sizeof header);
    waveInClose(device);
    return 0;
}
