#pragma once
#include <cstdint>
#include <optional>

#include "capture/signal/signal_options.h"

// The texts of the signal options (trigger, channels, view) in the
// configuration file, and the right channel's colour.
namespace zembrit {

// "rising" (any case) turns the trigger on; anything else leaves it off.
bool triggerFromText(const char* text);
const char* triggerText(bool trigger);

// "stereo" or "xy" (any case); anything else is mono.
ChannelMode channelsFromText(const char* text);
const char* channelsText(ChannelMode mode);

// "spectrum" (any case); anything else is the trace.
PictureView viewFromText(const char* text);
const char* viewText(PictureView view);

// A "#rrggbb" text as a colour with red in the low byte; nothing for any other text.
std::optional<uint32_t> colorFromHex(const char* text);

// Each of red, green and blue halfway between the two colours, rounded down.
uint32_t halfMix(uint32_t first, uint32_t second);

}  // namespace zembrit
