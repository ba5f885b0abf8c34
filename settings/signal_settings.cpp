#include "settings/signal_settings.h"

#include <cstring>

#include "settings/ascii_text.h"

namespace zembrit {
namespace {

bool isWord(const char* text, const char* word) { return text && sameIgnoringCase(text, word); }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool triggerFromText(const char* text) { return isWord(text, "rising"); }

const char* triggerText(bool trigger) { return trigger ? "rising" : "off"; }

ChannelMode channelsFromText(const char* text) {
    if (isWord(text, "stereo")) return ChannelMode::stereo;
    if (isWord(text, "xy")) return ChannelMode::xy;
    return ChannelMode::mono;
}

const char* channelsText(ChannelMode mode) {
    switch (mode) {
    case ChannelMode::stereo: return "stereo";
    case ChannelMode::xy: return "xy";
    default: return "mono";
    }
}

PictureView viewFromText(const char* text) {
    return isWord(text, "spectrum") ? PictureView::spectrum : PictureView::trace;
}

const char* viewText(PictureView view) { return view == PictureView::spectrum ? "spectrum" : "trace"; }

std::optional<uint32_t> colorFromHex(const char* text) {
    if (!text || text[0] != '#' || std::strlen(text) != 7) return std::nullopt;
    uint32_t color = 0;
    for (int byte = 0; byte < 3; ++byte) {
        const int high = hexDigit(text[1 + 2 * byte]), low = hexDigit(text[2 + 2 * byte]);
        if (high < 0 || low < 0) return std::nullopt;
        color |= static_cast<uint32_t>(high * 16 + low) << (8 * byte);
    }
    return color;
}

uint32_t halfMix(uint32_t first, uint32_t second) {
    uint32_t mixed = 0;
    for (int shift : {0, 8, 16}) mixed |= ((((first >> shift) & 255) + ((second >> shift) & 255)) / 2) << shift;
    return mixed;
}

}  // namespace zembrit
