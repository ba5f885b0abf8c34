#pragma once
#include <cstddef>
#include <cstdint>

#include "capture/signal/bar_picture.h"
#include "capture/signal/trace_points.h"
#include "settings/scope_settings.h"
#include "settings/virtual_screen.h"

// The rules applied to values as they come out of the configuration file,
// and the search for that file. No shell calls here, so they run anywhere.
namespace zembrit {

// A stored buffer size above 100 becomes 100, then one below 10 becomes 10.
int32_t clampBufferPoints(int32_t stored);
// The visual delay in milliseconds: 0 to kMostDelayMs.
inline constexpr int32_t kMostDelayMs = 2000;
int32_t clampDelayMs(int32_t stored);

// A stored frame rate of 0 or less counts as 1.
int32_t countedFps(int32_t fps);
// Milliseconds between repaints for a stored frame rate, as counted.
// Integer division: 25 gives 40, 2000 gives 0.
int32_t frameIntervalFromFps(int32_t fps);

// Smallest stored window width and height.
inline constexpr int32_t kMinWindowExtent = 16;

// A window width or height as kept: at least 16, and at most the virtual
// screen's extent along that axis. A screen extent of 0 or less (unknown)
// bounds nothing from above.
int32_t windowExtentWithin(int32_t extent, int32_t screenExtent);

// An opacity or blend strength: 0 to 255. A value outside is held at the
// nearer end (256 is solid, never wrapped to invisible).
inline constexpr int32_t kMostAlpha = 255;
uint8_t clampAlpha(int32_t stored);

// The trace's line width in pixels: 1 to kWidestLine, wide enough for any
// scope and narrow enough that drawing it never costs more than a frame.
inline constexpr int32_t kWidestLine = 16;
int32_t clampLineWidth(int32_t stored);

// The spectrum's band count as stored: 0 (or less, kept as 0) lets the
// window's length choose; anything else is held within kMinBands to kMaxBands.
int32_t clampSpectrumBands(int32_t stored);
// The bands a frame shows for a stored count and the window's length along
// the bars: one per 4 pixels when the count is 0, held within kMinBands to
// kMaxBands either way.
int32_t spectrumBandsFor(int32_t stored, int32_t lengthPixels);

// The spectrum's lowest level in dBFS, kLowestFloorDb to kHighestFloorDb:
// high enough below 0 dBFS that the bars always have room to move.
inline constexpr int32_t kLowestFloorDb = -120;
inline constexpr int32_t kHighestFloorDb = -20;
int32_t clampSpectrumFloor(int32_t stored);

// How long a spectrum peak mark stays, 0 (no marks) to kLongestPeakHoldMs.
inline constexpr int32_t kLongestPeakHoldMs = 10000;
int32_t clampPeakHoldMs(int32_t stored);

// Copies text into a fixed, zero-terminated field of capacity bytes. A text
// longer than capacity - 1 characters keeps its leading characters and loses
// the rest. A null text leaves the field empty; a capacity of 0 writes nothing.
void copyBounded(char* field, size_t capacity, const char* text);

// Holds a style key with a colon appended ("menu.frame.color" becomes
// "menu.frame.color:"). A value too long for the field keeps its leading
// characters, cut so that the colon still fits.
void setColorKey(char (&field)[kColorKeyCapacity], const char* valueRead);

// The one-letter scope type code: the first character of the text, 0 for an
// empty (or null) text.
char scopeTypeFromText(const char* text);

// Where the stored values come from: the shell's configuration functions,
// or anything else that answers with the fallback for a missing key.
class SettingsReader {
public:
    virtual bool readBool(const char* key, bool fallback) const = 0;
    virtual int32_t readInt(const char* key, int32_t fallback) const = 0;
    // Never null: a missing key gives the fallback.
    virtual const char* readText(const char* key, const char* fallback) const = 0;

protected:
    ~SettingsReader() = default;
};

// Refills every field from reader, in the key table's order, each through
// its rule. Window sizes are cut to screen.
void readEachSetting(ScopeSettings& out, const SettingsReader& reader, ScreenExtent screen);

// Where changed values go: the shell's configuration functions, or anything
// else that records them.
class SettingsSink {
public:
    virtual void writeBool(const char* key, bool value) = 0;
    virtual void writeInt(const char* key, int32_t value) = 0;
    virtual void writeText(const char* key, const char* value) = 0;

protected:
    ~SettingsSink() = default;
};

// A value as the file holds it under a key of that kind.
template <StoredAs Stored>
struct StoredValueOf;
template <>
struct StoredValueOf<StoredAs::Bool> {
    using Value = bool;
};
template <>
struct StoredValueOf<StoredAs::Int> {
    using Value = int32_t;
};
template <>
struct StoredValueOf<StoredAs::Text> {
    using Value = const char*;
};
template <StoredAs Stored>
using StoredValue = typename StoredValueOf<Stored>::Value;

// One key changed while the plugin runs: value goes through the key's rule
// into its field, as if read from the file; then, given a file, what the file
// must hold for that field (written:: below) is written under the key.
template <StoredAs Stored>
void changeSetting(ScopeSettings& record, Key<Stored> key, StoredValue<Stored> value, ScreenExtent screen,
                   SettingsSink* file);

// The field of an on/off key.
bool flagOf(const ScopeSettings& record, BoolKey key);

// The rules the key table names, each from a stored value to its field.
namespace rules {

template <class Field, class Stored>
void kept(Field& field, Stored stored, ScreenExtent) {
    field = stored;
}
template <size_t Capacity>
void kept(char (&field)[Capacity], const char* stored, ScreenExtent) {
    copyBounded(field, Capacity, stored);
}
template <class Field>
void alphaInRange(Field& field, int32_t stored, ScreenExtent) {
    field = clampAlpha(stored);
}
inline void lineWidthInRange(int32_t& field, int32_t stored, ScreenExtent) { field = clampLineWidth(stored); }
inline void widthOnScreen(Relaxed<int32_t>& field, int32_t stored, ScreenExtent screen) {
    field = windowExtentWithin(stored, screen.width);
}
inline void heightOnScreen(Relaxed<int32_t>& field, int32_t stored, ScreenExtent screen) {
    field = windowExtentWithin(stored, screen.height);
}
inline void pointsInRange(Relaxed<int32_t>& field, int32_t stored, ScreenExtent) { field = clampBufferPoints(stored); }
inline void delayInRange(int32_t& field, int32_t stored, ScreenExtent) { field = clampDelayMs(stored); }
inline void intervalOfFps(Relaxed<int32_t>& field, int32_t stored, ScreenExtent) {
    field = frameIntervalFromFps(stored);
}
inline void withColon(char (&field)[kColorKeyCapacity], const char* stored, ScreenExtent) {
    setColorKey(field, stored);
}
inline void firstLetter(Relaxed<char>& field, const char* stored, ScreenExtent) { field = scopeTypeFromText(stored); }
inline void triggerWord(bool& field, const char* stored, ScreenExtent) { field = triggerFromText(stored); }
inline void channelsWord(ChannelMode& field, const char* stored, ScreenExtent) { field = channelsFromText(stored); }
inline void sourceWord(CaptureSource& field, const char* stored, ScreenExtent) {
    field = captureSourceFromText(stored).value_or(CaptureSource::wavein);
}
inline void viewWord(PictureView& field, const char* stored, ScreenExtent) { field = viewFromText(stored); }
inline void bandsInRange(Relaxed<int32_t>& field, int32_t stored, ScreenExtent) { field = clampSpectrumBands(stored); }
inline void floorInRange(int32_t& field, int32_t stored, ScreenExtent) { field = clampSpectrumFloor(stored); }
inline void peakHoldInRange(int32_t& field, int32_t stored, ScreenExtent) { field = clampPeakHoldMs(stored); }

}  // namespace rules

// What a change writes for the value its rule took: the field as the file
// holds it, except where the field cannot say.
namespace written {

template <class Field, class Stored>
Stored kept(const Field& field, Stored) {
    return field;
}
inline int32_t alphaInRange(int32_t field, int32_t) { return field; }
inline int32_t lineWidthInRange(int32_t field, int32_t) { return field; }
inline int32_t widthOnScreen(int32_t field, int32_t) { return field; }
inline int32_t heightOnScreen(int32_t field, int32_t) { return field; }
inline int32_t pointsInRange(int32_t field, int32_t) { return field; }
inline int32_t delayInRange(int32_t field, int32_t) { return field; }
// The field holds the interval; the file, the rate as counted.
inline int32_t intervalOfFps(int32_t, int32_t stored) { return countedFps(stored); }
// The field adds the colon the style reader needs; the file goes without.
inline const char* withColon(const char*, const char* stored) { return stored; }
// The field holds the code's first letter; the file, the code.
inline const char* firstLetter(char, const char* stored) { return stored; }
inline const char* triggerWord(bool field, const char*) { return triggerText(field); }
inline const char* channelsWord(ChannelMode field, const char*) { return channelsText(field); }
inline const char* sourceWord(CaptureSource field, const char*) { return captureSourceWord(field); }
inline const char* viewWord(PictureView field, const char*) { return viewText(field); }
inline int32_t bandsInRange(int32_t field, int32_t) { return field; }
inline int32_t floorInRange(int32_t field, int32_t) { return field; }
inline int32_t peakHoldInRange(int32_t field, int32_t) { return field; }

}  // namespace written

using FileExistsFn = bool (*)(const char* path, void* context);

// Finds the configuration file: "Zembritrc", then "Zembrit.rc", first in the
// plugin's directory, then in the shell's. The directories are the given
// paths cut after their last backslash (to nothing without one). With no file
// found, the result is the plugin's directory plus "Zembrit.rc", where later
// writes will create it.
// A path is never cut to fit: a candidate longer than the 259 characters the
// result holds is skipped as if absent, and when even the fallback does not
// fit the result is the empty string (reads then give defaults, writes fail).
// A null plugin path means the plugin's own path is not known (too long to
// fetch): only the shell's directory is searched, and without a file there
// the result is empty too, never a bare name relative to some directory.
void findConfigPath(const char* pluginModulePath, const char* shellDir, FileExistsFn exists, void* context,
                    char (&out)[kConfigPathCapacity]);

}  // namespace zembrit
