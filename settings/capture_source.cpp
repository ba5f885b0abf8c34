#include "settings/capture_source.h"

#include <string_view>

#include "settings/ascii_text.h"

namespace zembrit {
namespace {

constexpr CaptureSource kSources[] = {CaptureSource::wavein, CaptureSource::output, CaptureSource::input};

}  // namespace

std::optional<CaptureSource> captureSourceFromText(const char* text) {
    if (!text) return std::nullopt;
    const std::string_view word = trimmed(text);
    for (CaptureSource source : kSources)
        if (sameIgnoringCase(word, captureSourceWord(source))) return source;
    return std::nullopt;
}

const char* captureSourceWord(CaptureSource source) {
    switch (source) {
    case CaptureSource::output: return "output";
    case CaptureSource::input: return "input";
    default: return "wavein";
    }
}

}  // namespace zembrit
