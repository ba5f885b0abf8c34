#include "commands/menu_model.h"

#include <cstring>
#include <utility>

namespace zembrit {

namespace {

constexpr char kInternal[] = "@ZembritInternal ";

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

void addInternalItem(MenuBuild& build, int menu, const char* label, const char* word, bool checked) {
    addItem(build, menu, label, std::string(kInternal) + word, checked);
}

void addSeparator(MenuBuild& build, int menu) { addOp(build, MenuOpKind::Separator, menu); }

void attach(MenuBuild& build, int parent, int child, const char* title) {
    MenuOp& op = addOp(build, MenuOpKind::Submenu, parent);
    op.child = child;
    op.label = title;
}

// Bounded to the stored field's three bytes; equal only to the whole code.
bool isTab(const char* tabPosition, const char* code) {
    return tabPosition != nullptr && std::strncmp(tabPosition, code, 3) == 0;
}

void addTabPositionMenu(MenuBuild& build, int parent, const MenuValues& values) {
    const int menu = createMenu(build, "Tab Position", "Zembrit_TabPosition");
    addInternalItem(build, menu, "Hide Tab", "SetTabHT", isTab(values.tabPosition, "ht"));
    addInternalItem(build, menu, "Top Right", "SetTabTR", isTab(values.tabPosition, "tr"));
    addInternalItem(build, menu, "Bottom Right", "SetTabBR", isTab(values.tabPosition, "br"));
    addInternalItem(build, menu, "Top Left", "SetTabTL", isTab(values.tabPosition, "tl"));
    addInternalItem(build, menu, "Bottom Left", "SetTabBL", isTab(values.tabPosition, "bl"));
    attach(build, parent, menu, "Tab Position");
}

void addOrientationMenu(MenuBuild& build, int parent, const MenuValues& values) {
    const int menu = createMenu(build, "Orientation", "Zembrit_Orientation");
    addInternalItem(build, menu, "Vertical", "SetScopeV", values.scopeType == 'v');
    addInternalItem(build, menu, "Horizontal", "SetScopeH", values.scopeType == 'h');
    attach(build, parent, menu, "Orientation");
}

std::vector<int32_t> stepsOf(int32_t first, int32_t last, int32_t by) {
    std::vector<int32_t> values;
    for (int32_t v = first; v <= last; v += by) values.push_back(v);
    return values;
}

int32_t sameValue(int32_t v) { return v; }
// The stored value is the interval, so the marks compare intervals.
int32_t frameInterval(int32_t framesPerSecond) { return 1000 / framesPerSecond; }

// One item per choice: label "%d", command "<word> %d", marked where
// markedValue(choice) equals the current setting.
void addChoiceMenu(MenuBuild& build, int parent, const char* title, const char* identifier, const char* word,
                   const std::vector<int32_t>& choices, int32_t current, int32_t (*markedValue)(int32_t) = sameValue) {
    const int menu = createMenu(build, title, identifier);
    for (const int32_t choice : choices) {
        const std::string number = std::to_string(choice);
        addItem(build, menu, number, std::string(kInternal) + word + " " + number, markedValue(choice) == current);
    }
    attach(build, parent, menu, title);
}

void addStyleMenu(MenuBuild& build, int parent) {
    const int menu = createMenu(build, "Visual Style", "Pellucor_SetStyle");
    for (int preset = 1; preset <= 4; ++preset) {
        const std::string number = std::to_string(preset);
        addItem(build, menu, "Style " + number, "@Zembrit SetStyle " + number, false);
    }
    attach(build, parent, menu, "Visual Style");
}

void addWindowItems(MenuBuild& build, int config, const MenuValues& values) {
    addInternalItem(build, config, "Always On Top", "AlwaysOnTop", values.alwaysOnTop);
    addInternalItem(build, config, "Docked to Slit", "SlitToggle", values.inSlit);
    addInternalItem(build, config, "Snap Window To Edge", "SnapWindowToEdge", values.snapWindow);
    addInternalItem(build, config, "Toggle With Plugins", "ToggleWithPlugins", values.toggleWithPlugins);
    addInternalItem(build, config, "Show Border", "ToggleBorder", values.showBorder);
    addSeparator(build, config);
    addInternalItem(build, config, "Start Monitor on Startup", "MonitorStartUp", values.startWaveMonitorOnStartUp);
    addSeparator(build, config);
    addInternalItem(build, config, "Transparency Enabled", "TransparencyEnabled", values.transparencyEnabled);
    addInternalItem(build, config, "Transparent Back Enabled", "TransbackEnabled", values.transbackEnabled);
    MenuOp& alpha = addOp(build, MenuOpKind::IntItem, config);
    alpha.label = "Alpha Value";
    alpha.command = std::string(kInternal) + "TransparencyAlpha";
    alpha.value = values.transparencyAlpha;
    alpha.minimum = 0;
    alpha.maximum = 255;
}

void addTraceItems(MenuBuild& build, int config, const MenuValues& values) {
    addTabPositionMenu(build, config, values);
    addSeparator(build, config);
    addOrientationMenu(build, config, values);
    addChoiceMenu(build, config, "Scope Width", "Zembrit_ScopeWidth", "SetScopeWidth", stepsOf(1, 4, 1),
                  values.scopeWidth);
    addSeparator(build, config);
    addChoiceMenu(build, config, "KHz", "Zembrit_KHz", "SetKHz", {8, 16, 44}, values.sampleKHz);
    addChoiceMenu(build, config, "Bit", "Zembrit_Bit", "SetBit", {8, 16}, values.sampleBits);
    addChoiceMenu(build, config, "FPS", "Zembrit_FPS", "SetFPS", stepsOf(10, 100, 10), values.frameIntervalMs,
                  frameInterval);
    addChoiceMenu(build, config, "Buffer Size", "Zembrit_BufferSize", "SetBufferSize", stepsOf(10, 100, 10),
                  values.bufferPoints);
}

void addLookItems(MenuBuild& build, int config, const MenuValues& values) {
    addSeparator(build, config);
    addInternalItem(build, config, "Motion Blur", "ToggleBlur", values.motionBlur);
    // 250 is not offered.
    addChoiceMenu(build, config, "Motion Blur Alpha", "Zembrit_BlurAlpha", "SetBlurAlpha", stepsOf(10, 240, 10),
                  values.motionBlurAlpha);
    addSeparator(build, config);
    addStyleMenu(build, config);
}

}  // namespace

MenuValues menuValuesFrom(const ScopeSettings& settings, bool capturing) {
    return MenuValues{.alwaysOnTop = settings.alwaysOnTop,
                      .inSlit = settings.inSlit,
                      .snapWindow = settings.snapWindow,
                      .toggleWithPlugins = settings.toggleWithPlugins,
                      .showBorder = settings.showBorder,
                      .startWaveMonitorOnStartUp = settings.startWaveMonitorOnStartUp,
                      .transparencyEnabled = settings.transparencyEnabled,
                      .transbackEnabled = settings.transbackEnabled,
                      .motionBlur = settings.motionBlur,
                      .capturing = capturing,
                      .transparencyAlpha = settings.transparencyAlpha,
                      .scopeWidth = settings.scopeWidth,
                      .sampleKHz = settings.sampleKHz,
                      .sampleBits = settings.sampleBits,
                      .frameIntervalMs = settings.frameIntervalMs,
                      .bufferPoints = settings.bufferPoints,
                      .motionBlurAlpha = settings.motionBlurAlpha,
                      .tabPosition = settings.tabPosition,
                      .scopeType = settings.scopeType};
}

std::vector<MenuOp> buildScopeMenu(const MenuValues& values) {
    MenuBuild build;
    const int mainMenu = createMenu(build, "ZembritPlugin", "Zembrit_IDMain");
    const int config = createMenu(build, "Configuration", "Zembrit_IDConfig");
    addWindowItems(build, config, values);
    addTraceItems(build, config, values);
    addLookItems(build, config, values);
    attach(build, mainMenu, config, "Configuration");
    addInternalItem(build, mainMenu, "Monitor Wave?", "ToggleRecord", values.capturing);
    addSeparator(build, mainMenu);
    addInternalItem(build, mainMenu, "Edit Zembrit.rc", "Edit", false);
    addInternalItem(build, mainMenu, "About Zembrit", "About", false);
    addOp(build, MenuOpKind::Show, mainMenu);
    return build.ops;
}

}  // namespace zembrit
