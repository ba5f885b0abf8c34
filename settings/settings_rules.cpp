#include "settings/settings_rules.h"

#include <algorithm>
#include <cstring>

namespace zembrit {

namespace {

constexpr size_t kMaxPathLength = kConfigPathCapacity - 1;
constexpr const char* kConfigFileNames[] = {"Zembritrc", "Zembrit.rc"};
constexpr const char* kFallbackFileName = "Zembrit.rc";

// Length of the directory part of path, its last backslash included.
size_t directoryLength(const char* path) {
    const char* lastBackslash = std::strrchr(path, '\\');
    return lastBackslash ? static_cast<size_t>(lastBackslash - path) + 1 : 0;
}

// Writes directory + name into out; false, with out left in any state, when
// the whole path would not fit.
bool joinPath(const char* directory, size_t directoryChars, const char* name, char (&out)[kConfigPathCapacity]) {
    const size_t nameChars = std::strlen(name);
    if (directoryChars > kMaxPathLength || nameChars > kMaxPathLength - directoryChars) {
        return false;
    }
    std::memcpy(out, directory, directoryChars);
    std::memcpy(out + directoryChars, name, nameChars + 1);
    return true;
}

bool findInDirectory(const char* pathInDirectory, FileExistsFn exists, void* context,
                     char (&out)[kConfigPathCapacity]) {
    const size_t directoryChars = directoryLength(pathInDirectory);
    for (const char* name : kConfigFileNames) {
        if (joinPath(pathInDirectory, directoryChars, name, out) && exists(out, context)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t clampDelayMs(int32_t stored) { return std::clamp<int32_t>(stored, 0, kMostDelayMs); }

int32_t clampSpectrumBands(int32_t stored) {
    return stored <= 0 ? 0 : std::clamp<int32_t>(stored, kMinBands, kMaxBands);
}

int32_t spectrumBandsFor(int32_t stored, int32_t lengthPixels) {
    constexpr int32_t kPixelsPerBand = 4;
    return std::clamp<int32_t>(stored <= 0 ? lengthPixels / kPixelsPerBand : stored, kMinBands, kMaxBands);
}

int32_t clampSpectrumFloor(int32_t stored) { return std::clamp<int32_t>(stored, kLowestFloorDb, kHighestFloorDb); }

int32_t clampPeakHoldMs(int32_t stored) { return std::clamp<int32_t>(stored, 0, kLongestPeakHoldMs); }

int32_t clampBufferPoints(int32_t stored) {
    if (stored > kMaxPoints) return kMaxPoints;
    if (stored < kMinPoints) return kMinPoints;
    return stored;
}

int32_t countedFps(int32_t fps) { return fps <= 0 ? 1 : fps; }

int32_t frameIntervalFromFps(int32_t fps) { return 1000 / countedFps(fps); }

int32_t windowExtentWithin(int32_t extent, int32_t screenExtent) {
    if (screenExtent > 0 && extent > screenExtent) extent = screenExtent;
    return extent < kMinWindowExtent ? kMinWindowExtent : extent;
}

uint8_t clampAlpha(int32_t stored) { return static_cast<uint8_t>(std::clamp<int32_t>(stored, 0, kMostAlpha)); }

int32_t clampLineWidth(int32_t stored) { return std::clamp<int32_t>(stored, 1, kWidestLine); }

void copyBounded(char* field, size_t capacity, const char* text) {
    if (capacity == 0) return;
    size_t length = 0;
    if (text) {
        while (length + 1 < capacity && text[length] != '\0') ++length;
        std::memcpy(field, text, length);
    }
    field[length] = '\0';
}

void setColorKey(char (&field)[kColorKeyCapacity], const char* valueRead) {
    copyBounded(field, kColorKeyCapacity - 1, valueRead);
    const size_t length = std::strlen(field);
    field[length] = ':';
    field[length + 1] = '\0';
}

void readEachSetting(ScopeSettings& out, const SettingsReader& reader, ScreenExtent screen) {
#define ZEMBRIT_READ_SETTING(field, name, text, stored, type, fallback, rule)                                          \
    rules::rule(out.field, reader.read##stored(text, fallback), screen);
    ZEMBRIT_SETTING_KEYS(ZEMBRIT_READ_SETTING)
#undef ZEMBRIT_READ_SETTING
}

namespace {

// Answers every key with its fallback: what a file without the key gives.
class FallbackOnly final : public SettingsReader {
public:
    bool readBool(const char*, bool fallback) const override { return fallback; }
    int32_t readInt(const char*, int32_t fallback) const override { return fallback; }
    const char* readText(const char*, const char* fallback) const override { return fallback; }
};

// Only the rows stored as Stored are compiled for it; the record is a
// template parameter so that the others are not even looked at.
template <StoredAs Stored, class Record>
void changeRow(Record& record, KeyRow row, StoredValue<Stored> value, ScreenExtent screen, SettingsSink* file) {
    switch (row) {
#define ZEMBRIT_CHANGE_ROW(field, name, text, stored, type, fallback, rule)                                            \
    case KeyRow::name:                                                                                                 \
        if constexpr (StoredAs::stored == Stored) {                                                                    \
            rules::rule(record.field, value, screen);                                                                  \
            if (file) file->write##stored(text, written::rule(record.field, value));                                   \
        }                                                                                                              \
        return;
        ZEMBRIT_SETTING_KEYS(ZEMBRIT_CHANGE_ROW)
#undef ZEMBRIT_CHANGE_ROW
    }
}

template <class Record>
bool flagIn(const Record& record, KeyRow row) {
    switch (row) {
#define ZEMBRIT_FLAG_ROW(field, name, text, stored, type, fallback, rule)                                              \
    case KeyRow::name:                                                                                                 \
        if constexpr (StoredAs::stored == StoredAs::Bool) return record.field;                                         \
        break;
        ZEMBRIT_SETTING_KEYS(ZEMBRIT_FLAG_ROW)
#undef ZEMBRIT_FLAG_ROW
    }
    return false;
}

}  // namespace

ScopeSettings::ScopeSettings() { readEachSetting(*this, FallbackOnly{}, ScreenExtent{0, 0}); }

template <StoredAs Stored>
void changeSetting(ScopeSettings& record, Key<Stored> key, StoredValue<Stored> value, ScreenExtent screen,
                   SettingsSink* file) {
    changeRow<Stored>(record, key.row, value, screen, file);
}
template void changeSetting(ScopeSettings&, BoolKey, bool, ScreenExtent, SettingsSink*);
template void changeSetting(ScopeSettings&, IntKey, int32_t, ScreenExtent, SettingsSink*);
template void changeSetting(ScopeSettings&, TextKey, const char*, ScreenExtent, SettingsSink*);

bool flagOf(const ScopeSettings& record, BoolKey key) { return flagIn(record, key.row); }

char scopeTypeFromText(const char* text) { return text ? text[0] : '\0'; }

void findConfigPath(const char* pluginModulePath, const char* shellDir, FileExistsFn exists, void* context,
                    char (&out)[kConfigPathCapacity]) {
    if (pluginModulePath && findInDirectory(pluginModulePath, exists, context, out)) return;
    if (findInDirectory(shellDir, exists, context, out)) return;
    if (!pluginModulePath || !joinPath(pluginModulePath, directoryLength(pluginModulePath), kFallbackFileName, out)) {
        out[0] = '\0';
    }
}

}  // namespace zembrit
