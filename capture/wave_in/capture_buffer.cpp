// The memory a capture runs in, from its allocation to its release.
#include "capture/wave_in/capture_buffer.h"

#include <new>

#include "capture/floor/module_pin.h"

namespace zembrit {
namespace {

// The samples start on a 16-byte boundary behind the bookkeeping.
constexpr SIZE_T kSampleOffset = (sizeof(CaptureBuffer) + 15) / 16 * 16;

void releaseCaptureBuffer(CaptureBuffer* buffer) {
    if (buffer->bufferReturned) CloseHandle(buffer->bufferReturned);
    buffer->~CaptureBuffer();
    VirtualFree(buffer, 0, MEM_RELEASE);
}

}  // namespace

CaptureBuffer* allocateCaptureBuffer(DWORD length, HWAVEIN device) {
    void* memory = VirtualAlloc(nullptr, kSampleOffset + length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!memory) return nullptr;
    auto* buffer = new (memory) CaptureBuffer();
    buffer->device = device;
    buffer->header.lpData = static_cast<char*>(memory) + kSampleOffset;
    buffer->header.dwBufferLength = length;
    buffer->bufferReturned = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!buffer->bufferReturned) {
        releaseCaptureBuffer(buffer);
        return nullptr;
    }
    // The callback finds the worker's event through the header it is given.
    buffer->header.dwUser = reinterpret_cast<DWORD_PTR>(buffer->bufferReturned);
    return buffer;
}

// A device that kept the buffer may still call back, and a worker that did
// not end may still wake.
void finishCaptureBuffer(CaptureBuffer* buffer, bool safeToRelease) {
    if (safeToRelease)
        releaseCaptureBuffer(buffer);
    else
        keepModuleLoaded();
}

}  // namespace zembrit
