#pragma once
#include <array>
#include <string_view>

// The four colour presets: each picks the style key that colours the trace.
namespace zembrit {

struct StylePreset {
    int number;              // 1 to 4, as in the command that applies it
    const char* heldKey;     // held in scopeColorKey, with the colon ReadColor needs
    const char* writtenKey;  // written to the configuration file, without the colon
};

inline constexpr std::array<StylePreset, 4> kStylePresets{{
    {1, "toolbar.windowLabel.color:", "toolbar.windowLabel.color"},
    {2, "window.label.focus.textColor:", "window.label.focus.textColor"},
    {3, "menu.frame.color:", "menu.frame.color"},
    {4, "menu.hilite.color:", "menu.hilite.color"},
}};

// The preset with the given number, or null for any number but 1 to 4.
constexpr const StylePreset* findStylePreset(int number) {
    for (const StylePreset& preset : kStylePresets) {
        if (preset.number == number) return &preset;
    }
    return nullptr;
}

// The held key reads back as the written key once the reader appends its
// colon; checked at compile time so the columns cannot drift apart.
constexpr bool presetTableConsistent() {
    for (const StylePreset& preset : kStylePresets) {
        const std::string_view held = preset.heldKey;
        if (held.back() != ':' || held.substr(0, held.size() - 1) != preset.writtenKey) {
            return false;
        }
    }
    return true;
}
static_assert(presetTableConsistent());

}  // namespace zembrit
