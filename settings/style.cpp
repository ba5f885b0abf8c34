#include "settings/style.h"

#include <cstring>

#include "settings/keys.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "settings/style_presets.h"

namespace zembrit {

StyleValues style;

namespace {

// The shell may not offer every setting; a missing one reads as zero so a
// reload still replaces every field.
template <class T>
T settingValue(SettingIndex index) {
    T value{};
    if (const void* setting = host.GetSettingPtr(index)) std::memcpy(&value, setting, sizeof value);
    return value;
}

void copyStyleRecord() {
    if (const void* record = host.GetSettingPtr(kSettingStyleRecord))
        std::memcpy(style.styleRecord, record, sizeof style.styleRecord);
    else
        std::memset(style.styleRecord, 0, sizeof style.styleRecord);
}

}  // namespace

void reloadStyle() {
    copyStyleRecord();
    style.innerMargin = settingValue<int32_t>(kSettingInnerMargin);
    style.borderWidth = settingValue<int32_t>(kSettingBorderWidth);
    style.borderColor = settingValue<COLORREF>(kSettingBorderColor);
    style.scopeColor = host.ReadColor(host.stylePath(nullptr), settings.scopeColorKey, "#FFFFFF");
}

void applyStylePreset(int preset) {
    const StylePreset* chosen = findStylePreset(preset);
    if (!chosen) return;
    copyBounded(settings.scopeColorKey, sizeof settings.scopeColorKey, chosen->heldKey);
    store(keys::scopeColorKey, chosen->writtenKey);
    reloadStyle();
}

COLORREF styleFillColor() {
    COLORREF fill;
    std::memcpy(&fill, style.styleRecord + kStyleRecordFillOffset, sizeof fill);
    return fill;
}

}  // namespace zembrit
