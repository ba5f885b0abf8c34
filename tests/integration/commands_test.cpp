// Broadcast commands as the shell delivers them: what each writes to the
// configuration file, what the toolbar shows, when the menu is refreshed,
// docking, the About box, the editor, and capture restarts.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"

#include <string>
#include <vector>

#include "shell/plugin_identity.h"
#include "tests/integration/support/leak_probe.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;

class Commands : public ShellFixture {
protected:
    void send(const char* command) { standin::broadcast(command); }

    void openMenu() { SendMessageA(registeredWindow(), WM_NCRBUTTONUP, HTCAPTION, 0); }
};

class DockedCommands : public Commands {
protected:
    bool withDock() const override { return true; }
};

// ---- Every row of the command table ---------------------------------------

struct Row {
    const char* command;
    const char* key;
    const char* value;
    const char* label;  // nullptr: the toolbar label is left alone
};

// How each command is matched and what its value becomes are the matcher's
// and the settings' rules; this is each row carried out through the shell.
// Capture stays stopped, so the rows that restart a running capture only
// write. Edit, About and ToggleRecord write no key; their own tests are below.
TEST_F(Commands, EveryRowWritesItsKeyAndOnlyTogglesReportAndRefresh) {
    ASSERT_EQ(startQuiet(), 0);
    const Row rows[] = {
        {"@ZembritInternal SlitToggle", "Zembrit.plugin.inSlit:", "false", "ZembritPlugin -> SlitToggle disabled!"},
        {"@ZembritInternal MonitorStartUp", "Zembrit.plugin.wave.StartWaveMonitorOnStartUp:", "true",
         "ZembritPlugin -> MonitorStartUp enabled!"},
        {"@ZembritInternal AlwaysOnTop", "Zembrit.plugin.alwaysontop:", "false",
         "ZembritPlugin -> AlwaysOnTop disabled!"},
        {"@ZembritInternal SnapWindowToEdge", "Zembrit.plugin.snapwindow:", "false",
         "ZembritPlugin -> SnapWindowToEdge disabled!"},
        {"@ZembritInternal TransparencyEnabled", "Zembrit.plugin.transparency.enabled:", "true",
         "ZembritPlugin -> TransparencyEnabled enabled!"},
        {"@ZembritInternal ToggleBorder", "Zembrit.plugin.showBorder:", "false",
         "ZembritPlugin -> ToggleBorder disabled!"},
        {"@ZembritInternal TransbackEnabled", "Zembrit.plugin.transback.enabled:", "true",
         "ZembritPlugin -> TransbackEnabled enabled!"},
        {"@ZembritInternal SetTabHT", "Zembrit.plugin.style.tabPosition:", "ht", nullptr},
        {"@ZembritInternal SetTabTR", "Zembrit.plugin.style.tabPosition:", "tr", nullptr},
        {"@ZembritInternal SetTabBL", "Zembrit.plugin.style.tabPosition:", "bl", nullptr},
        {"@ZembritInternal SetTabBR", "Zembrit.plugin.style.tabPosition:", "br", nullptr},
        {"@ZembritInternal SetTabTL", "Zembrit.plugin.style.tabPosition:", "tl", nullptr},
        {"@ZembritInternal SetScopeV", "Zembrit.plugin.style.scopeType:", "v", nullptr},
        {"@ZembritInternal SetScopeH", "Zembrit.plugin.style.scopeType:", "h", nullptr},
        {"@ZembritInternal ToggleBlur", "Zembrit.plugin.motionblur:", "true", "ZembritPlugin -> ToggleBlur enabled!"},
        {"@ZembritInternal SetBlurAlpha 300", "Zembrit.plugin.motionbluralpha:", "255", nullptr},
        {"@ZembritInternal SetScopeWidth 3", "Zembrit.plugin.style.scopeWidth:", "3", nullptr},
        {"@ZembritInternal SetKHz 44", "Zembrit.plugin.wave.KHz:", "44", nullptr},
        {"@ZembritInternal SetBufferSize 40", "Zembrit.plugin.wave.buffsize:", "40", nullptr},
        {"@ZembritInternal SetBit 8", "Zembrit.plugin.wave.bit:", "8", nullptr},
        {"@ZembritInternal SetFPS 30", "Zembrit.plugin.wave.fps:", "30", nullptr},
        {"@ZembritInternal TransparencyAlpha 300", "Zembrit.plugin.transparency.alpha:", "255", nullptr},
        {"@ZembritInternal ToggleWithPlugins", "Zembrit.plugin.togglewithplugins:", "false",
         "ZembritPlugin -> ToggleWithPlugins disabled!"},
        {"@ZembritInternal SetTrigger rising", "Zembrit.plugin.trigger:", "rising", nullptr},
        {"@ZembritInternal SetTrigger off", "Zembrit.plugin.trigger:", "off", nullptr},
        {"@ZembritInternal AutoGain", "Zembrit.plugin.autogain:", "true", "ZembritPlugin -> AutoGain enabled!"},
        {"@ZembritInternal SetChannels mono", "Zembrit.plugin.channels:", "mono", nullptr},
        {"@ZembritInternal SetChannels stereo", "Zembrit.plugin.channels:", "stereo", nullptr},
        {"@ZembritInternal SetChannels xy", "Zembrit.plugin.channels:", "xy", nullptr},
        {"@ZembritInternal SetSource input", "Zembrit.plugin.wave.source:", "input", nullptr},
        {"@ZembritInternal SetDevice Mic SetBit 8", "Zembrit.plugin.wave.device:", "Mic SetBit 8", nullptr},
        {"@ZembritInternal SetDelay 2500", "Zembrit.plugin.delay:", "2000", nullptr},
        {"@ZembritInternal ClickThrough", "Zembrit.plugin.clickThrough:", "true",
         "ZembritPlugin -> ClickThrough enabled!"},
        {"@ZembritInternal Beam", "Zembrit.plugin.style.beam:", "true", "ZembritPlugin -> Beam enabled!"},
        {"@ZembritInternal SetView spectrum", "Zembrit.plugin.view:", "spectrum", nullptr},
        {"@ZembritInternal setview TRACE", "Zembrit.plugin.view:", "trace", nullptr},
        {"@ZembritInternal Meter", "Zembrit.plugin.meter:", "true", "ZembritPlugin -> Meter enabled!"},
        {"@ZEMBRITINTERNAL    alwaysontop", "Zembrit.plugin.alwaysontop:", "true",
         "ZembritPlugin -> alwaysontop enabled!"},
        {"@zembritinternal transparencyalpha 70", "Zembrit.plugin.transparency.alpha:", "70", nullptr},
        {"@Zembrit SetStyle 1", "Zembrit.plugin.style.ScopeColor:", "toolbar.windowLabel.color", nullptr},
        {"@Zembrit SetStyle 3", "Zembrit.plugin.style.ScopeColor:", "menu.frame.color", nullptr},
        {"@Zembrit SetStyle 4", "Zembrit.plugin.style.ScopeColor:", "menu.hilite.color", nullptr},
        {"@ZEMBRIT setstyle 2", "Zembrit.plugin.style.ScopeColor:", "window.label.focus.textColor", nullptr},
    };
    for (const Row& row : rows) {
        const size_t labels = shellRecord.toolbarLabels.size();
        const int refreshes = shellRecord.menuRefreshes;
        send(row.command);
        EXPECT_EQ(configValue(row.key), row.value) << row.command;
        if (row.label) {
            ASSERT_EQ(shellRecord.toolbarLabels.size(), labels + 1) << row.command;
            EXPECT_EQ(shellRecord.toolbarLabels.back(), row.label);
            EXPECT_EQ(shellRecord.menuRefreshes, refreshes + 1) << row.command;
        } else {
            EXPECT_EQ(shellRecord.toolbarLabels.size(), labels) << row.command;
            EXPECT_EQ(shellRecord.menuRefreshes, refreshes) << row.command;
        }
    }
    EXPECT_EQ(shellRecord.menuShows, 0);
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

// Strings the matcher refuses, and numeric words it takes without argument
// text, which the dispatcher leaves alone.
TEST_F(Commands, StringsThatPassNoTestChangeNothing) {
    ASSERT_EQ(startQuiet(), 0);
    const std::string before = readPluginFile("Zembrit.rc");
    for (const char* command : {"",
                                "hello",
                                "@ZembritInternal",
                                "@ZembritInternal Bogus",
                                "@ZembritInternal About ",
                                "@ZembritInternal\tAbout",
                                "@Zembrit SetStyle 5",
                                "@Zembrit SetStyle 0",
                                "@Zembrit SetStyle 1 ",
                                "@ZembritInternal @Zembrit SetStyle 1",
                                "@ZembritInternal SetStyle 2",
                                "@NRHidePlugins now",
                                "@ZembritInternal ToggleRecords",
                                "@ZembritInternal\tAlwaysOnTop",
                                "@ZembritInternal SetFPS",
                                "@ZembritInternal SetBufferSize",
                                "@ZembritInternal SetKHz",
                                "@ZembritInternal SetBit",
                                "@ZembritInternal SetBlurAlpha",
                                "@ZembritInternal SetScopeWidth",
                                "@ZembritInternal TransparencyAlpha",
                                "@ZembritInternal SetKHz44",
                                "@ZembritInternal TransparencyAlpha ",
                                "@ZembritInternal SetFPS -",
                                "@ZembritInternal setfps 30"})
        send(command);
    EXPECT_EQ(readPluginFile("Zembrit.rc"), before);
    EXPECT_TRUE(shellRecord.toolbarLabels.empty());
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
    EXPECT_TRUE(shellRecord.executed.empty());
    EXPECT_EQ(shellRecord.menuRefreshes, 0);
    EXPECT_TRUE(IsWindowVisible(scopeWindow()));
}

TEST_F(Commands, AboutShowsNameAuthorLinkAndEmail) {
    ASSERT_EQ(startQuiet(), 0);
    send("@ZembritInternalAbout");
    send("@ZembritInternal    about");
    ASSERT_EQ(shellRecord.messageBoxes.size(), 2u);
    const std::string text = std::string("Zembrit v1.22b\n\nAuthor : ") + zembrit::kPluginAuthor +
                             "\nWeb: " + zembrit::kPluginLink + "\nEmail: " + zembrit::kPluginEmail;
    for (const auto& box : shellRecord.messageBoxes) {
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, "About this plugin...");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_TRUE(shellRecord.toolbarLabels.empty());
}

TEST_F(Commands, EditOpensTheConfigurationFileInTheShellsEditor) {
    standin::shellOptions.editor = "C:\\Tools\\my editor.exe";
    ASSERT_EQ(startQuiet(), 0);
    const std::string before = readPluginFile("Zembrit.rc");
    send("@ZembritInternal Edit");
    ASSERT_EQ(shellRecord.executed.size(), 1u);
    EXPECT_EQ(shellRecord.executed[0], "C:\\Tools\\my editor.exe|\"" + pluginDir + "Zembrit.rc\"");
    EXPECT_EQ(readPluginFile("Zembrit.rc"), before);
    EXPECT_TRUE(shellRecord.toolbarLabels.empty());
    EXPECT_EQ(shellRecord.menuRefreshes, 0);
}

// ---- Docking ----------------------------------------------------------------

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

TEST_F(Commands, SlitToggleWithoutADockMovesNothingButReportsTheUnchangedState) {
    ASSERT_EQ(startQuiet("Zembrit.plugin.x: 220\nZembrit.plugin.y: 140\n"), 0);
    HWND window = scopeWindow();
    const RECT before = windowRect(window);
    send("@ZembritInternal SlitToggle");
    const RECT after = windowRect(window);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_TRUE(shellRecord.dockEvents.empty());
    EXPECT_EQ(configValue("Zembrit.plugin.inSlit:"), "false");
    ASSERT_EQ(shellRecord.toolbarLabels.size(), 1u);
    EXPECT_EQ(shellRecord.toolbarLabels[0], "ZembritPlugin -> SlitToggle disabled!");
    EXPECT_EQ(shellRecord.menuRefreshes, 1);
}

// A scope stored as docked floats when no dock holds it, and the toggle
// takes it out of the dock it is not in.
TEST_F(Commands, SlitToggleWithoutADockClearsAStoredDockedState) {
    ASSERT_EQ(startQuiet("Zembrit.plugin.inSlit: true\n"), 0);
    send("@ZembritInternal slittoggle");
    EXPECT_EQ(configValue("Zembrit.plugin.inSlit:"), "false");
    ASSERT_EQ(shellRecord.toolbarLabels.size(), 1u);
    EXPECT_EQ(shellRecord.toolbarLabels[0], "ZembritPlugin -> slittoggle disabled!");
    EXPECT_TRUE(shellRecord.dockEvents.empty());
}

TEST_F(DockedCommands, SlitToggleDocksAndUndocksBackToTheFloatingPlace) {
    ASSERT_EQ(startQuiet("Zembrit.plugin.x: 220\nZembrit.plugin.y: 140\n"), 0);
    HWND window = scopeWindow();
    EXPECT_TRUE(shellRecord.dockEvents.empty());

    send("@ZembritInternal SlitToggle");
    EXPECT_EQ(shellRecord.dockEvents, (std::vector<std::string>{"add"}));
    EXPECT_EQ(GetParent(window), standin::shellDockWindow());
    EXPECT_EQ(configValue("Zembrit.plugin.inSlit:"), "true");
    ASSERT_EQ(shellRecord.toolbarLabels.size(), 1u);
    EXPECT_EQ(shellRecord.toolbarLabels.back(), "ZembritPlugin -> SlitToggle enabled!");
    EXPECT_EQ(shellRecord.menuRefreshes, 1);

    send("@ZembritInternal SlitToggle");
    EXPECT_EQ(shellRecord.dockEvents, (std::vector<std::string>{"add", "remove"}));
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(configValue("Zembrit.plugin.inSlit:"), "false");
    EXPECT_EQ(shellRecord.toolbarLabels.back(), "ZembritPlugin -> SlitToggle disabled!");
    EXPECT_EQ(shellRecord.menuRefreshes, 2);
    const RECT back = windowRect(window);
    EXPECT_EQ(back.left, 220);
    EXPECT_EQ(back.top, 140);
    // The dock's placements were never taken for the floating place.
    EXPECT_EQ(configValue("Zembrit.plugin.x:"), "220");
    EXPECT_EQ(configValue("Zembrit.plugin.y:"), "140");
}

TEST_F(DockedCommands, ScopeStartedDockedLeavesTheDockOnSlitToggle) {
    ASSERT_EQ(startQuiet("Zembrit.plugin.inSlit: true\n"), 0);
    EXPECT_EQ(shellRecord.dockEvents, (std::vector<std::string>{"add"}));
    send("@ZembritInternal SlitToggle");
    EXPECT_EQ(shellRecord.dockEvents, (std::vector<std::string>{"add", "remove"}));
    EXPECT_EQ(GetParent(registeredWindow()), nullptr);
    EXPECT_EQ(configValue("Zembrit.plugin.inSlit:"), "false");
    EXPECT_EQ(shellRecord.toolbarLabels.back(), "ZembritPlugin -> SlitToggle disabled!");
}

// ---- The shell's show and hide commands ------------------------------------
// These need the window state to hide and show the window.

TEST_F(Commands, HidePluginsHidesAFloatingScopeThatTogglesWithPlugins) {
    ASSERT_EQ(startQuiet(), 0);
    HWND window = scopeWindow();
    ASSERT_TRUE(IsWindowVisible(window));
    send("@nrhideplugins");
    EXPECT_FALSE(IsWindowVisible(window));
    send("@NRShowPlugins");
    EXPECT_TRUE(IsWindowVisible(window));
    send("@NRHIDEPLUGINS");
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(shellRecord.toolbarLabels.empty());
    EXPECT_EQ(shellRecord.menuRefreshes, 0);
}

TEST_F(DockedCommands, HidePluginsIsIgnoredWhileDocked) {
    ASSERT_EQ(startQuiet("Zembrit.plugin.inSlit: true\n"), 0);
    HWND window = registeredWindow();
    ASSERT_TRUE(IsWindowVisible(window));
    send("@NRHidePlugins");
    EXPECT_TRUE(IsWindowVisible(window));
    // The flag kept its value, so the scope stays shown once it floats again.
    send("@ZembritInternal SlitToggle");
    EXPECT_TRUE(IsWindowVisible(window));
}

// ---- Reconfigure --------------------------------------------------------------

TEST_F(Commands, MonitorStartUpSurvivesAReconfigure) {
    ASSERT_EQ(startQuiet(), 0);
    send("@ZembritInternal MonitorStartUp");
    EXPECT_EQ(configValue("Zembrit.plugin.wave.StartWaveMonitorOnStartUp:"), "true");
    const int refreshes = shellRecord.menuRefreshes;
    standin::reconfigure();
    EXPECT_EQ(shellRecord.menuRefreshes, refreshes);
    openMenu();
    EXPECT_EQ(markOf("@ZembritInternal MonitorStartUp"), 'x');
    send("@ZembritInternal MonitorStartUp");
    standin::reconfigure();
    openMenu();
    EXPECT_EQ(markOf("@ZembritInternal MonitorStartUp"), ' ');
}

TEST_F(Commands, ReconfigureReloadsEverySettingFromTheFile) {
    ASSERT_EQ(startQuiet(), 0);
    send("@ZembritInternal SetFPS 50");
    writeConfig(std::string(kQuiet) +
                "Zembrit.plugin.wave.fps: 10\nZembrit.plugin.wave.buffsize: 50\n"
                "Zembrit.plugin.style.tabPosition: tl\nZembrit.plugin.alwaysontop: false\n"
                "Zembrit.plugin.transparency.alpha: 99\n");
    standin::reconfigure();
    openMenu();
    EXPECT_EQ(markOf("@ZembritInternal SetFPS 10"), 'x');
    EXPECT_EQ(markOf("@ZembritInternal SetFPS 50"), ' ');
    EXPECT_EQ(markOf("@ZembritInternal SetBufferSize 50"), 'x');
    EXPECT_EQ(markOf("@ZembritInternal SetTabTL"), 'x');
    EXPECT_EQ(markOf("@ZembritInternal AlwaysOnTop"), ' ');
    EXPECT_NE(shellRecord.menuDump.find("TransparencyAlpha = 99 ["), std::string::npos) << shellRecord.menuDump;
    EXPECT_TRUE(shellRecord.dockEvents.empty());
}

// ---- Capture: these need the wave-in capture to run ------------------------

TEST_F(Commands, ReconfigureRestartsARunningCaptureWithTheEditedValues) {
    ASSERT_TRUE(load());
    ASSERT_TRUE(countWaveInDevices(plugin.module));
    ASSERT_EQ(start(), 0);
    ASSERT_EQ(waveInLedger.calls, (std::vector<std::string>{"open 16000/16", "buffer 512"}));
    writeConfig(
        "Zembrit.plugin.wave.KHz: 8\nZembrit.plugin.wave.bit: 8\nZembrit.plugin.wave.buffsize: 50\n"
        "Zembrit.plugin.wave.fps: 10\n");
    standin::reconfigure();
    EXPECT_EQ(waveInLedger.calls,
              (std::vector<std::string>{"open 16000/16", "buffer 512", "close", "open 8000/8", "buffer 800"}));
    openMenu();
    EXPECT_EQ(markOf("@ZembritInternal ToggleRecord"), 'x');
    EXPECT_EQ(markOf("@ZembritInternal SetFPS 10"), 'x');
}

TEST_F(Commands, ReconfigureLeavesAStoppedCaptureStopped) {
    ASSERT_TRUE(load());
    ASSERT_TRUE(countWaveInDevices(plugin.module));
    writeConfig(kQuiet);
    ASSERT_EQ(start(), 0);
    writeConfig(std::string(kQuiet) + "Zembrit.plugin.wave.KHz: 8\n");
    standin::reconfigure();
    EXPECT_TRUE(waveInLedger.calls.empty());
}

TEST_F(Commands, CaptureParametersRestartOnlyARunningCapture) {
    ASSERT_TRUE(load());
    ASSERT_TRUE(countWaveInDevices(plugin.module));
    ASSERT_EQ(start(), 0);
    waveInLedger.calls.clear();
    send("@ZembritInternal SetKHz 44");
    EXPECT_EQ(waveInLedger.calls, (std::vector<std::string>{"close", "open 44000/16", "buffer 512"}));
    EXPECT_EQ(configValue("Zembrit.plugin.wave.KHz:"), "44");
    waveInLedger.calls.clear();
    send("@ZembritInternal SetBit 8");
    send("@ZembritInternal SetBufferSize 500");  // held, written and opened as 100
    EXPECT_EQ(waveInLedger.calls, (std::vector<std::string>{"close", "open 44000/8", "buffer 512", "close",
                                                            "open 44000/8", "buffer 1600"}));
    EXPECT_EQ(configValue("Zembrit.plugin.wave.buffsize:"), "100");
    waveInLedger.calls.clear();
    send("@ZembritInternal SetFPS 0");
    EXPECT_EQ(waveInLedger.calls, (std::vector<std::string>{"close", "open 44000/8", "buffer 1600"}));
    EXPECT_EQ(configValue("Zembrit.plugin.wave.fps:"), "1");

    send("@ZembritInternal ToggleRecord");
    waveInLedger.calls.clear();
    for (const char* command : {"@ZembritInternal SetKHz 8", "@ZembritInternal SetBit 16",
                                "@ZembritInternal SetBufferSize 20", "@ZembritInternal SetFPS 20"})
        send(command);
    EXPECT_TRUE(waveInLedger.calls.empty());
    send("@ZembritInternal ToggleRecord");
    EXPECT_EQ(waveInLedger.calls, (std::vector<std::string>{"open 8000/16", "buffer 320"}));
}

TEST_F(Commands, ToggleRecordStopsAndStartsWithoutWritingOrReporting) {
    ASSERT_TRUE(load());
    ASSERT_TRUE(countWaveInDevices(plugin.module));
    ASSERT_EQ(start(), 0);
    const std::string before = readPluginFile("Zembrit.rc");
    openMenu();
    EXPECT_EQ(markOf("@ZembritInternal ToggleRecord"), 'x');
    const int shows = shellRecord.menuShows;
    waveInLedger.calls.clear();

    send("@ZembritInternal ToggleRecord");
    EXPECT_EQ(waveInLedger.calls, (std::vector<std::string>{"close"}));
    // The open menu keeps its mark until it is opened again.
    EXPECT_EQ(markOf("@ZembritInternal ToggleRecord"), 'x');
    EXPECT_EQ(shellRecord.menuRefreshes, 0);
    openMenu();
    EXPECT_EQ(shellRecord.menuShows, shows + 1);
    EXPECT_EQ(markOf("@ZembritInternal ToggleRecord"), ' ');

    send("@zembritinternal togglerecord");
    EXPECT_EQ(waveInLedger.calls, (std::vector<std::string>{"close", "open 16000/16", "buffer 512"}));
    EXPECT_EQ(readPluginFile("Zembrit.rc"), before);
    EXPECT_TRUE(shellRecord.toolbarLabels.empty());
}

}  // namespace
}  // namespace zembrit_test
