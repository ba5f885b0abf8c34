#pragma once
#include <cstdint>
#include <optional>

// The signal options (trigger, automatic gain, channels) and the right
// channel's colour, with their texts in the configuration file.
namespace zembrit {

enum class ChannelMode : uint8_t { mono, stereo, xy };

// What a capture shows besides the plain trace; taken when it starts.
struct SignalOptions {
    bool trigger = false;
    bool autoGain = false;
    ChannelMode channels = ChannelMode::mono;
    int32_t delayMs = 0;  // the visual delay; 0 shows each picture as it is made
};

// "rising" (any case) turns the trigger on; anything else leaves it off.
bool triggerFromText(const char* text);
const char* triggerText(bool trigger);

// "stereo" or "xy" (any case); anything else is mono.
ChannelMode channelsFromText(const char* text);
const char* channelsText(ChannelMode mode);

// A "#rrggbb" text as a colour with red in the low byte; nothing for any other text.
std::optional<uint32_t> colorFromHex(const char* text);

// Each of red, green and blue halfway between the two colours, rounded down.
uint32_t halfMix(uint32_t first, uint32_t second);

}  // namespace zembrit
