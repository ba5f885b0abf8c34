#include "settings/style.h"

#include <cstring>

#include "settings/keys.h"
#include "settings/settings_store.h"
#include "settings/style_presets.h"

namespace zembrit {

namespace {

StyleValues loaded;

// The shell may not offer every setting; a missing one reads as zero so a
// reload still replaces every field.
template <class T>
T settingValue(SettingIndex index) {
    T value{};
    if (const void* setting = shellApi.GetSettingPtr(index)) std::memcpy(&value, setting, sizeof value);
    return value;
}

void copyStyleRecord() {
    if (const void* record = shellApi.GetSettingPtr(kSettingStyleRecord))
        std::memcpy(loaded.styleRecord, record, sizeof loaded.styleRecord);
    else
        std::memset(loaded.styleRecord, 0, sizeof loaded.styleRecord);
}

}  // namespace

const StyleValues& style() { return loaded; }

void reloadStyle() {
    copyStyleRecord();
    loaded.innerMargin = settingValue<int32_t>(kSettingInnerMargin);
    loaded.borderWidth = settingValue<int32_t>(kSettingBorderWidth);
    loaded.borderColor = settingValue<COLORREF>(kSettingBorderColor);
    loaded.scopeColor = shellApi.ReadColor(shellApi.stylePath(nullptr), settings().scopeColorKey, "#FFFFFF");
}

void applyStylePreset(int preset) {
    const StylePreset* chosen = findStylePreset(preset);
    if (!chosen) return;
    set(keys::scopeColorKey, chosen->writtenKey);
    reloadStyle();
}

COLORREF styleFillColor() {
    COLORREF fill;
    std::memcpy(&fill, loaded.styleRecord + kStyleRecordFillOffset, sizeof fill);
    return fill;
}

}  // namespace zembrit
