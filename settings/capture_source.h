#pragma once
#include <optional>

namespace zembrit {

// Where capture records from: the wave-in input, or through WASAPI what the
// default output plays (loopback) or the default input.
enum class CaptureSource : char { wavein, output, input };

constexpr int kDeviceNameCapacity = 260;  // 259 characters

// The source a key or command word names, ignoring case and surrounding
// spaces; nothing for any other word.
std::optional<CaptureSource> captureSourceFromText(const char* text);
const char* captureSourceWord(CaptureSource source);

}  // namespace zembrit
