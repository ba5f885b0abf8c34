#include "settings/capture_source.h"

#include <cctype>
#include <string_view>

#include "settings/ignoring_case.h"

namespace zembrit {
namespace {

constexpr CaptureSource kSources[] = {CaptureSource::wavein, CaptureSource::output, CaptureSource::input};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

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
