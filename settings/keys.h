#pragma once
#include <cstddef>
#include <cstdint>

#include "capture/signal/relaxed.h"

// Every configuration key in one table. The record (ScopeSettings), the
// reading, the writing and the sample file's check are all generated from it.
namespace zembrit {

constexpr int kUpdateUrlCapacity = 260;   // 259 characters and the terminator
constexpr int kColorKeyCapacity = 100;    // 99 characters with the colon
constexpr int kTabPositionCapacity = 3;   // two letters
constexpr int kConfigPathCapacity = 260;  // 259 characters
constexpr int kRightColorCapacity = 16;   // "#rrggbb"; room to tell a longer text from it

// A zero-terminated text field of fixed capacity.
template <size_t Capacity>
using TextField = char[Capacity];

// How the shell stores a value in the file.
enum class StoredAs { Bool, Int, Text };

// One row per key, in the order the file is read:
//   field   the ScopeSettings member
//   name    the keys:: constant
//   text    the key exactly as the shell's settings functions take it
//   stored  how the shell stores it
//   type    the member's type; Relaxed where the capture thread reads it
//   fallback the value as stored when the file does not have the key
//   rule    what turns the stored value into the member (settings_rules.h)
#define ZEMBRIT_SETTING_KEYS(X)                                                                                        \
    X(x, x, "Zembrit.plugin.x:", Int, int32_t, 10, kept)                                                               \
    X(y, y, "Zembrit.plugin.y:", Int, int32_t, 10, kept)                                                               \
    X(inSlit, inSlit, "Zembrit.plugin.inSlit:", Bool, bool, false, kept)                                               \
    X(motionBlur, motionBlur, "Zembrit.plugin.motionblur:", Bool, bool, false, kept)                                   \
    X(motionBlurAlpha, motionBlurAlpha, "Zembrit.plugin.motionbluralpha:", Int, uint8_t, 120, alphaInRange)            \
    X(transparencyEnabled, transparencyEnabled, "Zembrit.plugin.transparency.enabled:", Bool, bool, false, kept)       \
    X(transbackEnabled, transbackEnabled, "Zembrit.plugin.transback.enabled:", Bool, bool, false, kept)                \
    X(transparencyAlpha, transparencyAlpha, "Zembrit.plugin.transparency.alpha:", Int, int32_t, 60, alphaInRange)      \
    X(alwaysOnTop, alwaysOnTop, "Zembrit.plugin.alwaysontop:", Bool, bool, true, kept)                                 \
    X(snapWindow, snapWindow, "Zembrit.plugin.snapwindow:", Bool, bool, true, kept)                                    \
    X(toggleWithPlugins, toggleWithPlugins, "Zembrit.plugin.togglewithplugins:", Bool, bool, true, kept)               \
    X(updateUrl, updateUrl, "Zembrit.plugin.update.url:", Text, TextField<kUpdateUrlCapacity>, "", kept)               \
    X(width, width, "Zembrit.plugin.width:", Int, Relaxed<int32_t>, 100, widthOnScreen)                                \
    X(height, height, "Zembrit.plugin.height:", Int, Relaxed<int32_t>, 25, heightOnScreen)                             \
    X(startWaveMonitorOnStartUp, startWaveMonitorOnStartUp, "Zembrit.plugin.wave.StartWaveMonitorOnStartUp:", Bool,    \
      bool, true, kept)                                                                                                \
    X(bufferPoints, bufferPoints, "Zembrit.plugin.wave.buffsize:", Int, Relaxed<int32_t>, 32, pointsInRange)           \
    X(frameIntervalMs, framesPerSecond, "Zembrit.plugin.wave.fps:", Int, Relaxed<int32_t>, 25, intervalOfFps)          \
    X(sampleKHz, sampleKHz, "Zembrit.plugin.wave.KHz:", Int, int32_t, 16, kept)                                        \
    X(sampleBits, sampleBits, "Zembrit.plugin.wave.bit:", Int, int32_t, 16, kept)                                      \
    X(source, waveSource, "Zembrit.plugin.wave.source:", Text, CaptureSource, "wavein", sourceWord)                    \
    X(deviceName, waveDevice, "Zembrit.plugin.wave.device:", Text, TextField<kDeviceNameCapacity>, "", kept)           \
    X(scopeWidth, scopeWidth, "Zembrit.plugin.style.scopeWidth:", Int, int32_t, 1, lineWidthInRange)                   \
    X(scopeColorKey, scopeColorKey, "Zembrit.plugin.style.ScopeColor:", Text, TextField<kColorKeyCapacity>,            \
      "toolbar.textColor", withColon)                                                                                  \
    X(tabPosition, tabPosition, "Zembrit.plugin.style.tabPosition:", Text, TextField<kTabPositionCapacity>, "br",      \
      kept)                                                                                                            \
    X(scopeType, scopeType, "Zembrit.plugin.style.scopeType:", Text, Relaxed<char>, "h", firstLetter)                  \
    X(showBorder, showBorder, "Zembrit.plugin.showBorder:", Bool, bool, true, kept)                                    \
    X(trigger, trigger, "Zembrit.plugin.trigger:", Text, bool, "off", triggerWord)                                     \
    X(autoGain, autoGain, "Zembrit.plugin.autogain:", Bool, bool, false, kept)                                         \
    X(channels, channels, "Zembrit.plugin.channels:", Text, ChannelMode, "mono", channelsWord)                         \
    X(rightColor, rightColor, "Zembrit.plugin.style.rightColor:", Text, TextField<kRightColorCapacity>, "", kept)      \
    X(delayMs, delay, "Zembrit.plugin.delay:", Int, int32_t, 0, delayInRange)                                          \
    X(clickThrough, clickThrough, "Zembrit.plugin.clickThrough:", Bool, bool, false, kept)                             \
    X(beam, beam, "Zembrit.plugin.style.beam:", Bool, bool, false, kept)                                               \
    X(view, view, "Zembrit.plugin.view:", Text, PictureView, "trace", viewWord)                                        \
    X(spectrumBands, spectrumBands, "Zembrit.plugin.spectrum.bands:", Int, Relaxed<int32_t>, 0, bandsInRange)          \
    X(spectrumFloor, spectrumFloor, "Zembrit.plugin.spectrum.floor:", Int, int32_t, -80, floorInRange)                 \
    X(spectrumPeakHold, spectrumPeakHold, "Zembrit.plugin.spectrum.peakHold:", Int, int32_t, 1500, peakHoldInRange)    \
    X(meter, meter, "Zembrit.plugin.meter:", Bool, bool, false, kept)

// The rows of the table, by the keys:: name.
#define ZEMBRIT_KEY_ROW_NAME(field, name, text, stored, type, fallback, rule) name,
enum class KeyRow { ZEMBRIT_SETTING_KEYS(ZEMBRIT_KEY_ROW_NAME) };
#undef ZEMBRIT_KEY_ROW_NAME

// A key that knows how its value is stored, so that giving it a value of
// another kind does not compile, and which row it is, so that a write finds
// its field and rule.
template <StoredAs Stored>
struct Key {
    const char* text;
    KeyRow row;
    constexpr operator const char*() const { return text; }
};

using BoolKey = Key<StoredAs::Bool>;
using IntKey = Key<StoredAs::Int>;
using TextKey = Key<StoredAs::Text>;

namespace keys {
#define ZEMBRIT_KEY_CONSTANT(field, name, text, stored, type, fallback, rule)                                          \
    inline constexpr Key<StoredAs::stored> name{text, KeyRow::name};
ZEMBRIT_SETTING_KEYS(ZEMBRIT_KEY_CONSTANT)
#undef ZEMBRIT_KEY_CONSTANT
}  // namespace keys

// A key's value as stored when the file lacks it; only the member of its
// StoredAs counts.
struct StoredFallback {
    bool flag = false;
    int32_t number = 0;
    const char* text = nullptr;
};

constexpr StoredFallback storedFallback(bool flag) { return StoredFallback{flag, 0, nullptr}; }
constexpr StoredFallback storedFallback(int32_t number) { return StoredFallback{false, number, nullptr}; }
constexpr StoredFallback storedFallback(const char* text) { return StoredFallback{false, 0, text}; }

struct SettingKey {
    const char* text;
    StoredAs stored;
    StoredFallback fallback;
};

#define ZEMBRIT_KEY_ROW(field, name, text, stored, type, fallback, rule)                                               \
    SettingKey{text, StoredAs::stored, storedFallback(fallback)},
inline constexpr SettingKey kSettingKeys[] = {ZEMBRIT_SETTING_KEYS(ZEMBRIT_KEY_ROW)};
#undef ZEMBRIT_KEY_ROW

}  // namespace zembrit
