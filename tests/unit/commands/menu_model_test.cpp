#include "commands/menu_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/command_match.h"
#include "settings/settings_rules.h"

namespace zembrit {
namespace {

std::string render(const MenuOp& op) {
    const std::string menu = std::to_string(op.menu);
    switch (op.kind) {
    case MenuOpKind::NamedMenu: return "new " + menu + " \"" + op.label + "\" " + op.command;
    case MenuOpKind::Item: return menu + (op.checked ? " [x] \"" : " [ ] \"") + op.label + "\" " + op.command;
    case MenuOpKind::IntItem:
        return menu + " int \"" + op.label + "\" " + op.command + " " + std::to_string(op.value) + " " +
               std::to_string(op.minimum) + ".." + std::to_string(op.maximum);
    case MenuOpKind::Separator: return menu + " ---";
    case MenuOpKind::Submenu: return menu + " sub " + std::to_string(op.child) + " \"" + op.label + "\"";
    case MenuOpKind::Show: return "show " + menu;
    }
    return "?";
}

std::string renderAll(const std::vector<MenuOp>& ops) {
    std::string text;
    for (const MenuOp& op : ops) text += render(op) + "\n";
    return text;
}

// Labels of the marked items in the menu named by identifier.
std::vector<std::string> marked(const std::vector<MenuOp>& ops, const std::string& identifier) {
    int menu = -1;
    std::vector<std::string> labels;
    for (const MenuOp& op : ops) {
        if (op.kind == MenuOpKind::NamedMenu && op.command == identifier) menu = op.menu;
        if (op.kind == MenuOpKind::Item && op.menu == menu && op.checked) labels.push_back(op.label);
    }
    return labels;
}

using Labels = std::vector<std::string>;

std::vector<MenuOp> menuOf(const ScopeSettings& settings, bool capturing = false) {
    return buildScopeMenu(MenuInput{settings, capturing, {}});
}

// Items "<v>" sending "<word> <v>" in menu `menu`, from first to last by
// step; marked at one value (none for 0).
std::string choices(int menu, const char* word, int first, int last, int step, int marked) {
    std::string items;
    for (int v = first; v <= last; v += step)
        items += std::to_string(menu) + (v == marked ? " [x] \"" : " [ ] \"") + std::to_string(v) +
                 "\" @ZembritInternal " + word + " " + std::to_string(v) + "\n";
    return items;
}

// The menu with every setting at its default: the choices from first to last
// by step come from choices().
std::string defaultTree() {
    return R"(new 0 "ZembritPlugin" Zembrit_IDMain
new 1 "Configuration" Zembrit_IDConfig
1 [x] "Always On Top" @ZembritInternal AlwaysOnTop
1 [ ] "Docked to Slit" @ZembritInternal SlitToggle
1 [x] "Snap Window To Edge" @ZembritInternal SnapWindowToEdge
1 [x] "Toggle With Plugins" @ZembritInternal ToggleWithPlugins
1 [x] "Show Border" @ZembritInternal ToggleBorder
1 ---
1 [x] "Start Monitor on Startup" @ZembritInternal MonitorStartUp
1 ---
1 [ ] "Transparency Enabled" @ZembritInternal TransparencyEnabled
1 [ ] "Transparent Back Enabled" @ZembritInternal TransbackEnabled
1 int "Alpha Value" @ZembritInternal TransparencyAlpha 60 0..255
new 2 "Tab Position" Zembrit_TabPosition
2 [ ] "Hide Tab" @ZembritInternal SetTabHT
2 [ ] "Top Right" @ZembritInternal SetTabTR
2 [x] "Bottom Right" @ZembritInternal SetTabBR
2 [ ] "Top Left" @ZembritInternal SetTabTL
2 [ ] "Bottom Left" @ZembritInternal SetTabBL
1 sub 2 "Tab Position"
1 ---
new 3 "Orientation" Zembrit_Orientation
3 [ ] "Vertical" @ZembritInternal SetScopeV
3 [x] "Horizontal" @ZembritInternal SetScopeH
1 sub 3 "Orientation"
new 4 "Scope Width" Zembrit_ScopeWidth
4 [x] "1" @ZembritInternal SetScopeWidth 1
4 [ ] "2" @ZembritInternal SetScopeWidth 2
4 [ ] "3" @ZembritInternal SetScopeWidth 3
4 [ ] "4" @ZembritInternal SetScopeWidth 4
1 sub 4 "Scope Width"
1 ---
new 5 "KHz" Zembrit_KHz
5 [ ] "8" @ZembritInternal SetKHz 8
5 [x] "16" @ZembritInternal SetKHz 16
5 [ ] "44" @ZembritInternal SetKHz 44
1 sub 5 "KHz"
new 6 "Bit" Zembrit_Bit
6 [ ] "8" @ZembritInternal SetBit 8
6 [x] "16" @ZembritInternal SetBit 16
1 sub 6 "Bit"
new 7 "FPS" Zembrit_FPS
)" + choices(7, "SetFPS", 10, 100, 10, 0) +
           R"(1 sub 7 "FPS"
new 8 "Buffer Size" Zembrit_BufferSize
)" + choices(8, "SetBufferSize", 10, 100, 10, 0) +
           R"(1 sub 8 "Buffer Size"
1 ---
1 [ ] "Motion Blur" @ZembritInternal ToggleBlur
new 9 "Motion Blur Alpha" Zembrit_BlurAlpha
)" + choices(9, "SetBlurAlpha", 10, 240, 10, 120) +
           R"(1 sub 9 "Motion Blur Alpha"
1 ---
new 10 "Visual Style" Pellucor_SetStyle
10 [ ] "Style 1" @Zembrit SetStyle 1
10 [ ] "Style 2" @Zembrit SetStyle 2
10 [ ] "Style 3" @Zembrit SetStyle 3
10 [ ] "Style 4" @Zembrit SetStyle 4
1 sub 10 "Visual Style"
1 ---
new 11 "Trigger" Zembrit_Trigger
11 [x] "Off" @ZembritInternal SetTrigger off
11 [ ] "Rising" @ZembritInternal SetTrigger rising
1 sub 11 "Trigger"
1 [ ] "Automatic Gain" @ZembritInternal AutoGain
new 12 "Channels" Zembrit_Channels
12 [x] "Mono" @ZembritInternal SetChannels mono
12 [ ] "Stereo" @ZembritInternal SetChannels stereo
12 [ ] "X-Y" @ZembritInternal SetChannels xy
1 sub 12 "Channels"
new 13 "Source" Zembrit_Source
13 [x] "Wave In" @ZembritInternal SetSource wavein
13 [ ] "What Is Playing" @ZembritInternal SetSource output
13 [ ] "Input Device" @ZembritInternal SetSource input
1 sub 13 "Source"
new 14 "Delay" Zembrit_Delay
14 [x] "0" @ZembritInternal SetDelay 0
14 [ ] "50" @ZembritInternal SetDelay 50
14 [ ] "100" @ZembritInternal SetDelay 100
14 [ ] "150" @ZembritInternal SetDelay 150
14 [ ] "200" @ZembritInternal SetDelay 200
14 [ ] "300" @ZembritInternal SetDelay 300
14 [ ] "500" @ZembritInternal SetDelay 500
1 sub 14 "Delay"
1 [ ] "Click Through" @ZembritInternal ClickThrough
1 [ ] "Beam" @ZembritInternal Beam
new 15 "View" Zembrit_View
15 [x] "Trace" @ZembritInternal SetView trace
15 [ ] "Spectrum" @ZembritInternal SetView spectrum
1 sub 15 "View"
1 [ ] "Level Meter" @ZembritInternal Meter
0 sub 1 "Configuration"
0 [ ] "Monitor Wave?" @ZembritInternal ToggleRecord
0 ---
0 [ ] "Edit Zembrit.rc" @ZembritInternal Edit
0 [ ] "About Zembrit" @ZembritInternal About
show 0
)";
}

TEST(ScopeMenu, DefaultSettingsGiveTheFullTree) { EXPECT_EQ(renderAll(menuOf(ScopeSettings{})), defaultTree()); }

// A pick sends the item's command (an integer item's with the number picked):
// each is one the matcher takes, a choice with the number its label shows.
TEST(ScopeMenu, EveryItemSendsACommandTheMatcherTakes) {
    ScopeSettings settings;
    settings.source = CaptureSource::input;
    int items = 0;
    for (const MenuOp& op : buildScopeMenu(MenuInput{settings, false, {MenuDevice("Mic")}})) {
        if (op.kind != MenuOpKind::Item && op.kind != MenuOpKind::IntItem) continue;
        ++items;
        const std::string sent = op.kind == MenuOpKind::IntItem ? op.command + " 128" : op.command;
        const Command command = matchCommand(sent.c_str());
        EXPECT_NE(command.id, CommandId::None) << sent;
        if (op.kind == MenuOpKind::IntItem || op.label.find_first_not_of("0123456789") == std::string::npos) {
            EXPECT_TRUE(command.hasNumber) << sent;
            EXPECT_EQ(command.number, op.kind == MenuOpKind::IntItem ? 128 : std::stoi(op.label)) << sent;
        }
    }
    EXPECT_EQ(items, 100) << "the default menu's 98 and the Device menu's two";
}

TEST(ScopeMenu, FrameRateMarksCompareIntervals) {
    ScopeSettings settings;
    settings.frameIntervalMs = 1000 / 30;
    EXPECT_EQ(marked(menuOf(settings), "Zembrit_FPS"), Labels{"30"});
    settings.frameIntervalMs = 1000 / 39;
    EXPECT_EQ(marked(menuOf(settings), "Zembrit_FPS"), Labels{"40"});
    settings.frameIntervalMs = 10;
    EXPECT_EQ(marked(menuOf(settings), "Zembrit_FPS"), Labels{"100"});
}

TEST(ScopeMenu, CodesMarkOnlyOnExactLowerCaseMatch) {
    ScopeSettings settings;
    settings.tabPosition[0] = 'B';
    settings.tabPosition[1] = 'R';
    settings.scopeType = 'H';
    auto ops = menuOf(settings);
    EXPECT_EQ(marked(ops, "Zembrit_TabPosition"), Labels{});
    EXPECT_EQ(marked(ops, "Zembrit_Orientation"), Labels{});

    settings.tabPosition[0] = 't';
    settings.tabPosition[1] = 'l';
    settings.tabPosition[2] = 'x';  // unterminated field: no match, no overrun
    ops = menuOf(settings);
    EXPECT_EQ(marked(ops, "Zembrit_TabPosition"), Labels{});

    settings.tabPosition[2] = '\0';
    settings.scopeType = 'v';
    ops = menuOf(settings);
    EXPECT_EQ(marked(ops, "Zembrit_TabPosition"), Labels{"Top Left"});
    EXPECT_EQ(marked(ops, "Zembrit_Orientation"), Labels{"Vertical"});
    settings.tabPosition[0] = '\0';
    settings.scopeType = 0;
    ops = menuOf(settings);
    EXPECT_EQ(marked(ops, "Zembrit_TabPosition"), Labels{});
    EXPECT_EQ(marked(ops, "Zembrit_Orientation"), Labels{});
}

TEST(ScopeMenu, ValuesOutsideTheChoicesMarkNothing) {
    ScopeSettings settings;
    settings.scopeWidth = 5;
    settings.sampleKHz = 22;
    settings.sampleBits = 12;
    settings.motionBlurAlpha = 250;
    settings.bufferPoints = 40;
    const auto ops = menuOf(settings);
    for (const char* menu : {"Zembrit_ScopeWidth", "Zembrit_KHz", "Zembrit_Bit", "Zembrit_BlurAlpha"})
        EXPECT_EQ(marked(ops, menu), Labels{}) << menu;
    EXPECT_EQ(marked(ops, "Zembrit_BufferSize"), Labels{"40"});
}

TEST(ScopeMenu, MonitorWaveFollowsCaptureAndFixedItemsStayUnmarked) {
    ScopeSettings settings;
    settings.inSlit = settings.motionBlur = settings.transparencyEnabled = settings.transbackEnabled = true;
    settings.transparencyAlpha = 300;
    setColorKey(settings.scopeColorKey, "menu.frame.color");  // the third preset's
    const auto ops = menuOf(settings, true);
    EXPECT_EQ(marked(ops, "Zembrit_IDMain"), Labels{"Monitor Wave?"});
    EXPECT_EQ(marked(ops, "Pellucor_SetStyle"), Labels{});
    EXPECT_EQ(marked(ops, "Zembrit_IDConfig"),
              (Labels{"Always On Top", "Docked to Slit", "Snap Window To Edge", "Toggle With Plugins", "Show Border",
                      "Start Monitor on Startup", "Transparency Enabled", "Transparent Back Enabled", "Motion Blur"}));
    const auto alpha =
        std::find_if(ops.begin(), ops.end(), [](const MenuOp& op) { return op.kind == MenuOpKind::IntItem; });
    ASSERT_NE(alpha, ops.end());
    EXPECT_EQ(alpha->value, 300);
    EXPECT_EQ(marked(menuOf(ScopeSettings{}), "Zembrit_IDMain"), Labels{});
}

TEST(ScopeMenu, SignalChoicesCarryOneMarkEach) {
    ScopeSettings settings;
    settings.trigger = settings.autoGain = true;
    settings.channels = ChannelMode::stereo;
    const auto ops = menuOf(settings);
    EXPECT_EQ(marked(ops, "Zembrit_Trigger"), Labels{"Rising"});
    EXPECT_EQ(marked(ops, "Zembrit_Channels"), Labels{"Stereo"});
    EXPECT_EQ(marked(ops, "Zembrit_IDConfig").back(), "Automatic Gain");
}

TEST(ScopeMenu, ViewAndMeterMarksFollowTheSettings) {
    ScopeSettings settings;
    settings.view = PictureView::spectrum;
    settings.meter = true;
    const auto ops = menuOf(settings);
    EXPECT_EQ(marked(ops, "Zembrit_View"), Labels{"Spectrum"});
    EXPECT_EQ(marked(ops, "Zembrit_IDConfig").back(), "Level Meter");
}

TEST(ScopeMenu, SourceMarkFollowsTheSetting) {
    ScopeSettings settings;
    settings.source = CaptureSource::output;
    EXPECT_EQ(marked(menuOf(settings), "Zembrit_Source"), Labels{"What Is Playing"});
}

TEST(ScopeMenu, DeviceMenuListsEndpointsForWasapiSourcesOnly) {
    ScopeSettings settings;
    const MenuInput input{settings, false, {MenuDevice("Mic A"), MenuDevice("Monitor B")}};
    EXPECT_EQ(marked(buildScopeMenu(input), "Zembrit_Device"), Labels{}) << "wave-in has no device menu";
    settings.source = CaptureSource::input;
    std::copy_n("monitor b", 10, settings.deviceName);
    const std::vector<MenuOp> ops = buildScopeMenu(input);
    EXPECT_EQ(marked(ops, "Zembrit_Device"), Labels{"Monitor B"});
    EXPECT_NE(renderAll(ops).find("14 [ ] \"Mic A\" @ZembritInternal SetDevice Mic A\n"), std::string::npos);
    settings.deviceName[0] = '\0';
    EXPECT_EQ(marked(menuOf(settings), "Zembrit_Device"), Labels{"System Default"});
}

// Every endpoint can be picked and is marked once picked: a name that alone
// names its endpoint and fits the key is sent as it is (UTF-8 included);
// a repeated name (in any case), one too long for the key, one the
// command's reader would trim or one holding a control character (a line
// break could end the stored line) goes by the endpoint's identifier.
TEST(ScopeMenu, EachDeviceItemSendsWhatPicksItAndIsMarkedOncePicked) {
    const std::string longName(300, 'n');
    const std::vector<MenuDevice> endpoints = {{"Mikrofon O", "Mikrofon \xce\xa9", "{id-omega}"},
                                               {"Mic", "Mic", "{id-1}"},
                                               {"MIC", "MIC", "{id-2}"},
                                               {"long", longName, "{id-long}"},
                                               {" Padded", " Padded", "{id-pad}"},
                                               {"Plain", "Plain", "{id-plain}"},
                                               {"Mic Tab", "Mic\tLeft", "{id-tab}"},
                                               {"Line", "Line\nZembrit.plugin.x: 0", "{id-line}"},
                                               {"Trailing", "Trailing\t", "{id-trailing}"},
                                               {"Next Line", "Next\xc2\x85Line", "{id-c1}"}};
    const std::vector<std::string> expected = {"Mikrofon \xce\xa9", "{id-1}", "{id-2}",   "{id-long}",
                                               "{id-pad}",          "Plain",  "{id-tab}", "{id-line}",
                                               "{id-trailing}",     "{id-c1}"};
    ScopeSettings settings;
    settings.source = CaptureSource::input;
    for (size_t i = 0; i < endpoints.size(); ++i) {
        ASSERT_EQ(deviceArgument(endpoints, i), expected[i]) << i;
        std::copy_n(expected[i].c_str(), expected[i].size() + 1, settings.deviceName);
        const std::vector<MenuOp> ops = buildScopeMenu(MenuInput{settings, true, endpoints});
        EXPECT_EQ(marked(ops, "Zembrit_Device"), std::vector<std::string>{endpoints[i].label}) << i;
        EXPECT_NE(renderAll(ops).find("\" @ZembritInternal SetDevice " + expected[i] + "\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace zembrit
