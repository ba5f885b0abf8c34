#include "commands/menu_model.h"

#include <utility>

#include "commands/command_table.h"
#include "settings/ascii_text.h"
#include "settings/settings_rules.h"
#include "settings/tab_position.h"

namespace zembrit {

namespace {

struct MenuBuild {
    std::vector<MenuOp> ops;
    int menusCreated = 0;
};

MenuOp& addOp(MenuBuild& build, MenuOpKind kind, int menu) {
    MenuOp& op = build.ops.emplace_back();
    op.kind = kind;
    op.menu = menu;
    return op;
}

int createMenu(MenuBuild& build, const char* title, const char* identifier) {
    const int menu = build.menusCreated++;
    MenuOp& op = addOp(build, MenuOpKind::NamedMenu, menu);
    op.label = title;
    op.command = identifier;
    return menu;
}

void addItem(MenuBuild& build, int menu, std::string label, std::string command, bool checked) {
    MenuOp& op = addOp(build, MenuOpKind::Item, menu);
    op.label = std::move(label);
    op.command = std::move(command);
    op.checked = checked;
}

// The text the menu sends for an internal command.
std::string internalCommand(CommandId id) { return std::string(kInternalPrefix) + " " + ruleOf(id)->menuWord; }

void addInternalItem(MenuBuild& build, int menu, const char* label, CommandId id, bool checked) {
    addItem(build, menu, label, internalCommand(id), checked);
}

// An on/off command's item, marked while the key it flips is on.
void addToggleItem(MenuBuild& build, int menu, const char* label, CommandId id, const ScopeSettings& settings) {
    addInternalItem(build, menu, label, id, flagOf(settings, *flippedKey(id)));
}

void addSeparator(MenuBuild& build, int menu) { addOp(build, MenuOpKind::Separator, menu); }

void attach(MenuBuild& build, int parent, int child, const char* title) {
    MenuOp& op = addOp(build, MenuOpKind::Submenu, parent);
    op.child = child;
    op.label = title;
}

void addTabPositionMenu(MenuBuild& build, int parent, const char* tab) {
    const int menu = createMenu(build, "Tab Position", "Zembrit_TabPosition");
    addInternalItem(build, menu, "Hide Tab", CommandId::SetTabHT, tabs::is(tab, tabs::hidden));
    addInternalItem(build, menu, "Top Right", CommandId::SetTabTR, tabs::is(tab, tabs::topRight));
    addInternalItem(build, menu, "Bottom Right", CommandId::SetTabBR, tabs::is(tab, tabs::bottomRight));
    addInternalItem(build, menu, "Top Left", CommandId::SetTabTL, tabs::is(tab, tabs::topLeft));
    addInternalItem(build, menu, "Bottom Left", CommandId::SetTabBL, tabs::is(tab, tabs::bottomLeft));
    attach(build, parent, menu, "Tab Position");
}

void addOrientationMenu(MenuBuild& build, int parent, char scopeType) {
    const int menu = createMenu(build, "Orientation", "Zembrit_Orientation");
    addInternalItem(build, menu, "Vertical", CommandId::SetScopeV, scopeType == 'v');
    addInternalItem(build, menu, "Horizontal", CommandId::SetScopeH, scopeType == 'h');
    attach(build, parent, menu, "Orientation");
}

std::vector<int32_t> stepsOf(int32_t first, int32_t last, int32_t by) {
    std::vector<int32_t> values;
    for (int32_t v = first; v <= last; v += by) values.push_back(v);
    return values;
}

int32_t sameValue(int32_t v) { return v; }

// One item per choice: label "%d", command "<word> %d", marked where
// markedValue(choice) equals the current setting.
void addChoiceMenu(MenuBuild& build, int parent, const char* title, const char* identifier, CommandId id,
                   const std::vector<int32_t>& choices, int32_t current, int32_t (*markedValue)(int32_t) = sameValue) {
    const int menu = createMenu(build, title, identifier);
    for (const int32_t choice : choices) {
        const std::string number = std::to_string(choice);
        addItem(build, menu, number, internalCommand(id) + " " + number, markedValue(choice) == current);
    }
    attach(build, parent, menu, title);
}

void addStyleMenu(MenuBuild& build, int parent) {
    const int menu = createMenu(build, "Visual Style", "Pellucor_SetStyle");
    for (int preset = 1; preset <= kPresetCount; ++preset)
        addItem(build, menu, "Style " + std::to_string(preset), kPresetCommands[preset - 1], false);
    attach(build, parent, menu, "Visual Style");
}

void addWindowItems(MenuBuild& build, int config, const ScopeSettings& settings) {
    addToggleItem(build, config, "Always On Top", CommandId::AlwaysOnTop, settings);
    addInternalItem(build, config, "Docked to Slit", CommandId::SlitToggle, settings.inSlit);
    addToggleItem(build, config, "Snap Window To Edge", CommandId::SnapWindowToEdge, settings);
    addToggleItem(build, config, "Toggle With Plugins", CommandId::ToggleWithPlugins, settings);
    addToggleItem(build, config, "Show Border", CommandId::ToggleBorder, settings);
    addSeparator(build, config);
    addToggleItem(build, config, "Start Monitor on Startup", CommandId::MonitorStartUp, settings);
    addSeparator(build, config);
    addToggleItem(build, config, "Transparency Enabled", CommandId::TransparencyEnabled, settings);
    addToggleItem(build, config, "Transparent Back Enabled", CommandId::TransbackEnabled, settings);
    MenuOp& alpha = addOp(build, MenuOpKind::IntItem, config);
    alpha.label = "Alpha Value";
    alpha.command = internalCommand(CommandId::TransparencyAlpha);
    alpha.value = settings.transparencyAlpha;
    alpha.minimum = 0;
    alpha.maximum = 255;
}

void addTraceItems(MenuBuild& build, int config, const ScopeSettings& settings) {
    addTabPositionMenu(build, config, settings.tabPosition);
    addSeparator(build, config);
    addOrientationMenu(build, config, settings.scopeType);
    addChoiceMenu(build, config, "Scope Width", "Zembrit_ScopeWidth", CommandId::SetScopeWidth, stepsOf(1, 4, 1),
                  settings.scopeWidth);
    addSeparator(build, config);
    addChoiceMenu(build, config, "KHz", "Zembrit_KHz", CommandId::SetKHz, {8, 16, 44}, settings.sampleKHz);
    addChoiceMenu(build, config, "Bit", "Zembrit_Bit", CommandId::SetBit, {8, 16}, settings.sampleBits);
    addChoiceMenu(build, config, "FPS", "Zembrit_FPS", CommandId::SetFPS, stepsOf(10, 100, 10),
                  settings.frameIntervalMs, frameIntervalFromFps);
    addChoiceMenu(build, config, "Buffer Size", "Zembrit_BufferSize", CommandId::SetBuff, stepsOf(10, 100, 10),
                  settings.bufferPoints);
}

void addLookItems(MenuBuild& build, int config, const ScopeSettings& settings) {
    addSeparator(build, config);
    addToggleItem(build, config, "Motion Blur", CommandId::ToggleBlur, settings);
    // 250 is not offered.
    addChoiceMenu(build, config, "Motion Blur Alpha", "Zembrit_BlurAlpha", CommandId::SetBlurAlpha,
                  stepsOf(10, 240, 10), settings.motionBlurAlpha);
    addSeparator(build, config);
    addStyleMenu(build, config);
}

// One mark among the choices: the one the settings hold.
void addSignalItems(MenuBuild& build, int config, const ScopeSettings& settings) {
    addSeparator(build, config);
    const int trigger = createMenu(build, "Trigger", "Zembrit_Trigger");
    addInternalItem(build, trigger, "Off", CommandId::SetTriggerOff, !settings.trigger);
    addInternalItem(build, trigger, "Rising", CommandId::SetTriggerRising, settings.trigger);
    attach(build, config, trigger, "Trigger");
    addToggleItem(build, config, "Automatic Gain", CommandId::AutoGain, settings);
    const int channels = createMenu(build, "Channels", "Zembrit_Channels");
    addInternalItem(build, channels, "Mono", CommandId::SetChannelsMono, settings.channels == ChannelMode::mono);
    addInternalItem(build, channels, "Stereo", CommandId::SetChannelsStereo, settings.channels == ChannelMode::stereo);
    addInternalItem(build, channels, "X-Y", CommandId::SetChannelsXY, settings.channels == ChannelMode::xy);
    attach(build, config, channels, "Channels");
}

// Appended after every other item, so nothing before it moves.
void addSourceMenu(MenuBuild& build, int parent, CaptureSource current) {
    const int menu = createMenu(build, "Source", "Zembrit_Source");
    const std::pair<const char*, CaptureSource> choices[] = {{"Wave In", CaptureSource::wavein},
                                                             {"What Is Playing", CaptureSource::output},
                                                             {"Input Device", CaptureSource::input}};
    for (const auto& [label, source] : choices)
        addItem(build, menu, label, internalCommand(CommandId::SetSource) + " " + captureSourceWord(source),
                source == current);
    attach(build, parent, menu, "Source");
}

// The picture the window shows, then the meter drawn over it; after every
// older item, so nothing before them moves.
void addViewItems(MenuBuild& build, int config, const ScopeSettings& settings) {
    const int view = createMenu(build, "View", "Zembrit_View");
    addInternalItem(build, view, "Trace", CommandId::SetViewTrace, settings.view == PictureView::trace);
    addInternalItem(build, view, "Spectrum", CommandId::SetViewSpectrum, settings.view == PictureView::spectrum);
    attach(build, config, view, "View");
    addToggleItem(build, config, "Level Meter", CommandId::Meter, settings);
}

// Only for a WASAPI source: the default, then each active endpoint by name.
void addDeviceMenu(MenuBuild& build, int parent, const MenuInput& input) {
    if (input.settings.source == CaptureSource::wavein) return;
    const int menu = createMenu(build, "Device", "Zembrit_Device");
    const std::string command = internalCommand(CommandId::SetDevice);
    const char* deviceName = input.settings.deviceName;
    addItem(build, menu, "System Default", command, deviceName[0] == '\0');
    for (size_t i = 0; i < input.endpoints.size(); ++i) {
        const std::string argument = deviceArgument(input.endpoints, i);
        addItem(build, menu, input.endpoints[i].label, command + " " + argument,
                sameIgnoringCase(argument, deviceName));
    }
    attach(build, parent, menu, "Device");
}

// The command's reader skips the spaces before the name, the stored key
// holds kDeviceNameCapacity - 1 bytes, and a control character is refused
// (a line break would end the stored line).
bool nameRoundTrips(const std::string& name) {
    return !name.empty() && name.size() < static_cast<size_t>(kDeviceNameCapacity) && !holdsControlCharacter(name) &&
           name.front() != ' ' && name.back() != ' ';
}

}  // namespace

std::string deviceArgument(const std::vector<MenuDevice>& endpoints, size_t index) {
    const MenuDevice& device = endpoints[index];
    if (device.id.empty()) return device.name;
    if (!nameRoundTrips(device.name)) return device.id;
    for (size_t other = 0; other < endpoints.size(); ++other)
        if (other != index && sameIgnoringCase(endpoints[other].name, device.name)) return device.id;
    return device.name;
}

std::vector<MenuOp> buildScopeMenu(const MenuInput& input) {
    const ScopeSettings& settings = input.settings;
    MenuBuild build;
    const int mainMenu = createMenu(build, "ZembritPlugin", "Zembrit_IDMain");
    const int config = createMenu(build, "Configuration", "Zembrit_IDConfig");
    addWindowItems(build, config, settings);
    addTraceItems(build, config, settings);
    addLookItems(build, config, settings);
    addSignalItems(build, config, settings);
    addSourceMenu(build, config, settings.source);
    addDeviceMenu(build, config, input);
    addChoiceMenu(build, config, "Delay", "Zembrit_Delay", CommandId::SetDelay, {0, 50, 100, 150, 200, 300, 500},
                  settings.delayMs);
    addToggleItem(build, config, "Click Through", CommandId::ClickThrough, settings);
    addToggleItem(build, config, "Beam", CommandId::Beam, settings);
    addViewItems(build, config, settings);
    attach(build, mainMenu, config, "Configuration");
    addInternalItem(build, mainMenu, "Monitor Wave?", CommandId::ToggleRecord, input.capturing);
    addSeparator(build, mainMenu);
    addInternalItem(build, mainMenu, "Edit Zembrit.rc", CommandId::Edit, false);
    addInternalItem(build, mainMenu, "About Zembrit", CommandId::About, false);
    addOp(build, MenuOpKind::Show, mainMenu);
    return build.ops;
}

}  // namespace zembrit
