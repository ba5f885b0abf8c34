#pragma once
#include <array>
#include <string_view>

// The four colour presets: each picks the style key that colours the trace.
namespace zembrit {

struct StylePreset {
    int number;              // 1 to 4
    const char* command;     // the broadcast that applies it
    const char* heldKey;     // held in scopeColorKey, with the colon ReadColor needs
    const char* writtenKey;  // written to the configuration file, without the colon
};

inline constexpr std::array<StylePreset, 4> kStylePresets{{
    {1, "@Zembrit SetStyle 1", "toolbar.windowLabel.color:", "toolbar.windowLabel.color"},
    {2, "@Zembrit SetStyle 2", "window.label.focus.textColor:", "window.label.focus.textColor"},
    {3, "@Zembrit SetStyle 3", "menu.frame.color:", "menu.frame.color"},
    {4, "@Zembrit SetStyle 4", "menu.hilite.color:", "menu.hilite.color"},
}};

// The preset with the given number, or null for any number but 1 to 4.
constexpr const StylePreset* findStylePreset(int number) {
    for (const StylePreset& preset : kStylePresets) {
        if (preset.number == number) return &preset;
    }
    return nullptr;
}

// Each command ends in its own number, and the held key reads back as the
// written key once the reader appends its colon; checked at compile time so
// the columns cannot drift apart.
constexpr bool presetTableConsistent() {
    for (const StylePreset& preset : kStylePresets) {
        const std::string_view command = preset.command;
        const std::string_view held = preset.heldKey;
        if (command.back() != '0' + preset.number || held.back() != ':' ||
            held.substr(0, held.size() - 1) != preset.writtenKey) {
            return false;
        }
    }
    return true;
}
static_assert(presetTableConsistent());

}  // namespace zembrit
