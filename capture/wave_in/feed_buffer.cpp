// A returned wave-in buffer handed to the trace feed.
#include "capture/wave_in/feed_buffer.h"

#include <algorithm>

namespace zembrit {
namespace {

float secondsOf(uint32_t bytes, const CaptureBuffer& buffer) {
    if (buffer.framesPerSecond == 0) return 0.0f;
    return static_cast<float>(bytes / bytesPerFrame(buffer.layout)) / static_cast<float>(buffer.framesPerSecond);
}

}  // namespace

bool feedBuffer(CaptureBuffer& buffer) {
    // A driver's byte count is never trusted beyond the buffer it was given.
    const DWORD recorded = std::min(buffer.header.dwBytesRecorded, buffer.header.dwBufferLength);
    const auto* bytes = reinterpret_cast<const uint8_t*>(buffer.header.lpData);
    return buffer.feed.show(SampleBuffer{bytes, recorded, buffer.layout, secondsOf(recorded, buffer)});
}

}  // namespace zembrit
