// The context menu as the shell records it: the whole tree with every
// setting at its default, the marks for stored values, popup and refresh
// builds, and every item's command carried out end to end.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"

#include <mmsystem.h>

#include <cctype>
#include <string>
#include <vector>

#include "host/import_patch.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;

MMRESULT WINAPI refuseOpen(LPHWAVEIN, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD) { return MMSYSERR_NODRIVER; }

// One generated submenu: an item "%d" -> "<word> %d" per value, marked at one.
std::string choices(const std::string& indent, const char* word, const std::vector<int>& values, int marked) {
    std::string lines;
    for (int v : values)
        lines += indent + (v == marked ? "(x) " : "( ) ") + std::to_string(v) + " -> @ZembritInternal " + word + " " +
                 std::to_string(v) + "\n";
    return lines;
}

std::vector<int> steps(int first, int last, int by) {
    std::vector<int> values;
    for (int v = first; v <= last; v += by) values.push_back(v);
    return values;
}

// The tree with every setting at its default and capture stopped.
std::string defaultTree() {
    const std::string item = "          ";
    return std::string(
               "[ZembritPlugin] Zembrit_IDMain\n"
               "  >> Configuration\n"
               "    [Configuration] Zembrit_IDConfig\n"
               "      (x) Always On Top -> @ZembritInternal AlwaysOnTop\n"
               "      ( ) Docked to Slit -> @ZembritInternal SlitToggle\n"
               "      (x) Snap Window To Edge -> @ZembritInternal SnapWindowToEdge\n"
               "      (x) Toggle With Plugins -> @ZembritInternal ToggleWithPlugins\n"
               "      (x) Show Border -> @ZembritInternal ToggleBorder\n"
               "      ---\n"
               "      (x) Start Monitor on Startup -> @ZembritInternal MonitorStartUp\n"
               "      ---\n"
               "      ( ) Transparency Enabled -> @ZembritInternal TransparencyEnabled\n"
               "      ( ) Transparent Back Enabled -> @ZembritInternal TransbackEnabled\n"
               "      (#) Alpha Value -> @ZembritInternal TransparencyAlpha = 60 [0..255]\n"
               "      >> Tab Position\n"
               "        [Tab Position] Zembrit_TabPosition\n"
               "          ( ) Hide Tab -> @ZembritInternal SetTabHT\n"
               "          ( ) Top Right -> @ZembritInternal SetTabTR\n"
               "          (x) Bottom Right -> @ZembritInternal SetTabBR\n"
               "          ( ) Top Left -> @ZembritInternal SetTabTL\n"
               "          ( ) Bottom Left -> @ZembritInternal SetTabBL\n"
               "      ---\n"
               "      >> Orientation\n"
               "        [Orientation] Zembrit_Orientation\n"
               "          ( ) Vertical -> @ZembritInternal SetScopeV\n"
               "          (x) Horizontal -> @ZembritInternal SetScopeH\n"
               "      >> Scope Width\n"
               "        [Scope Width] Zembrit_ScopeWidth\n") +
           choices(item, "SetScopeWidth", {1, 2, 3, 4}, 1) +
           "      ---\n"
           "      >> KHz\n"
           "        [KHz] Zembrit_KHz\n" +
           choices(item, "SetKHz", {8, 16, 44}, 16) +
           "      >> Bit\n"
           "        [Bit] Zembrit_Bit\n" +
           choices(item, "SetBit", {8, 16}, 16) +
           "      >> FPS\n"
           "        [FPS] Zembrit_FPS\n" +
           choices(item, "SetFPS", steps(10, 100, 10), -1) +
           "      >> Buffer Size\n"
           "        [Buffer Size] Zembrit_BufferSize\n" +
           choices(item, "SetBufferSize", steps(10, 100, 10), -1) +
           "      ---\n"
           "      ( ) Motion Blur -> @ZembritInternal ToggleBlur\n"
           "      >> Motion Blur Alpha\n"
           "        [Motion Blur Alpha] Zembrit_BlurAlpha\n" +
           choices(item, "SetBlurAlpha", steps(10, 240, 10), 120) +
           "      ---\n"
           "      >> Visual Style\n"
           "        [Visual Style] Pellucor_SetStyle\n"
           "          ( ) Style 1 -> @Zembrit SetStyle 1\n"
           "          ( ) Style 2 -> @Zembrit SetStyle 2\n"
           "          ( ) Style 3 -> @Zembrit SetStyle 3\n"
           "          ( ) Style 4 -> @Zembrit SetStyle 4\n"
           "      ---\n"
           "      >> Trigger\n"
           "        [Trigger] Zembrit_Trigger\n"
           "          (x) Off -> @ZembritInternal SetTrigger off\n"
           "          ( ) Rising -> @ZembritInternal SetTrigger rising\n"
           "      ( ) Automatic Gain -> @ZembritInternal AutoGain\n"
           "      >> Channels\n"
           "        [Channels] Zembrit_Channels\n"
           "          (x) Mono -> @ZembritInternal SetChannels mono\n"
           "          ( ) Stereo -> @ZembritInternal SetChannels stereo\n"
           "          ( ) X-Y -> @ZembritInternal SetChannels xy\n"
           "      >> Source\n"
           "        [Source] Zembrit_Source\n"
           "          (x) Wave In -> @ZembritInternal SetSource wavein\n"
           "          ( ) What Is Playing -> @ZembritInternal SetSource output\n"
           "          ( ) Input Device -> @ZembritInternal SetSource input\n"
           "      >> Delay\n"
           "        [Delay] Zembrit_Delay\n"
           "          (x) 0 -> @ZembritInternal SetDelay 0\n"
           "          ( ) 50 -> @ZembritInternal SetDelay 50\n"
           "          ( ) 100 -> @ZembritInternal SetDelay 100\n"
           "          ( ) 150 -> @ZembritInternal SetDelay 150\n"
           "          ( ) 200 -> @ZembritInternal SetDelay 200\n"
           "          ( ) 300 -> @ZembritInternal SetDelay 300\n"
           "          ( ) 500 -> @ZembritInternal SetDelay 500\n"
           "      ( ) Click Through -> @ZembritInternal ClickThrough\n"
           "      ( ) Beam -> @ZembritInternal Beam\n"
           "  ( ) Monitor Wave? -> @ZembritInternal ToggleRecord\n"
           "  ---\n"
           "  ( ) Edit Zembrit.rc -> @ZembritInternal Edit\n"
           "  ( ) About Zembrit -> @ZembritInternal About\n";
}

// The fifteen named menus in the order they are made.
std::vector<std::string> namedMenus(const char* build) {
    const char* menus[] = {"ZembritPlugin|Zembrit_IDMain",
                           "Configuration|Zembrit_IDConfig",
                           "Tab Position|Zembrit_TabPosition",
                           "Orientation|Zembrit_Orientation",
                           "Scope Width|Zembrit_ScopeWidth",
                           "KHz|Zembrit_KHz",
                           "Bit|Zembrit_Bit",
                           "FPS|Zembrit_FPS",
                           "Buffer Size|Zembrit_BufferSize",
                           "Motion Blur Alpha|Zembrit_BlurAlpha",
                           "Visual Style|Pellucor_SetStyle",
                           "Trigger|Zembrit_Trigger",
                           "Channels|Zembrit_Channels",
                           "Source|Zembrit_Source",
                           "Delay|Zembrit_Delay"};
    std::vector<std::string> calls;
    for (const char* menu : menus) calls.push_back(std::string(menu) + "|" + build);
    return calls;
}

struct MenuLine {
    char mark;  // 'x', ' ' or '#' (integer item)
    std::string label;
    std::string command;
};

// Every item carrying a command, in the order the last shown menu lists them.
std::vector<MenuLine> commandItems() {
    std::vector<MenuLine> items;
    const std::string& dump = shellRecord.menuDump;
    for (size_t start = 0; start < dump.size();) {
        size_t end = dump.find('\n', start);
        if (end == std::string::npos) end = dump.size();
        std::string line = dump.substr(start, end - start);
        start = end + 1;
        const size_t open = line.find('(');
        const size_t arrow = line.find(" -> ");
        if (open == std::string::npos || arrow == std::string::npos) continue;
        std::string command = line.substr(arrow + 4);
        command = command.substr(0, command.find(" = "));
        items.push_back({line[open + 1], line.substr(open + 4, arrow - open - 4), command});
    }
    return items;
}

class Menu : public ShellFixture {
protected:
    // The registered window: found docked or floating alike.
    void rightClick(UINT message = WM_NCRBUTTONUP) {
        SendMessageA(registeredWindow(), message, message == WM_NCRBUTTONUP ? HTCAPTION : 0, 0);
    }
};

class DockedMenu : public Menu {
protected:
    bool withDock() const override { return true; }
};

TEST_F(Menu, TreeWithEveryDefaultMatchesTheTables) {
    // No configuration file at all; a device that will not open keeps
    // capture stopped, so "Monitor Wave?" is unmarked.
    ASSERT_TRUE(load());
    standin::patchImport(plugin.module, "winmm.dll", "waveInOpen", reinterpret_cast<void*>(refuseOpen));
    ASSERT_EQ(start(), 0);
    shellRecord.menuCalls.clear();
    rightClick();
    EXPECT_EQ(shellRecord.menuDump, defaultTree());
    EXPECT_EQ(shellRecord.menuCalls, namedMenus("popup"));
    EXPECT_EQ(shellRecord.menuShows, 1);
    EXPECT_EQ(shellRecord.menuRefreshes, 0);
}

TEST_F(Menu, RightButtonReleaseInEitherAreaOpensTheMenu) {
    ASSERT_EQ(startQuiet(), 0);
    rightClick(WM_RBUTTONUP);
    EXPECT_EQ(shellRecord.menuShows, 1);
    rightClick(WM_NCRBUTTONUP);
    EXPECT_EQ(shellRecord.menuShows, 2);
    std::vector<std::string> twice = namedMenus("popup");
    const std::vector<std::string> once = twice;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(shellRecord.menuCalls, twice);
    EXPECT_EQ(shellRecord.menuRefreshes, 0);
}

TEST_F(Menu, ToggleRefreshesTheSameMenusWithTheNewMark) {
    ASSERT_EQ(startQuiet(), 0);
    rightClick();
    EXPECT_EQ(markOf("@ZembritInternal AlwaysOnTop"), 'x');
    shellRecord.menuCalls.clear();
    standin::broadcast("@ZembritInternal AlwaysOnTop");
    EXPECT_EQ(shellRecord.menuCalls, namedMenus("refresh"));
    EXPECT_EQ(shellRecord.menuRefreshes, 1);
    EXPECT_EQ(shellRecord.menuShows, 1);
    EXPECT_EQ(markOf("@ZembritInternal AlwaysOnTop"), ' ');
    // A selection command leaves the open menu as it was.
    standin::broadcast("@ZembritInternal SetTabTL");
    EXPECT_EQ(shellRecord.menuRefreshes, 1);
    EXPECT_EQ(markOf("@ZembritInternal SetTabTL"), ' ');
    rightClick();
    EXPECT_EQ(markOf("@ZembritInternal SetTabTL"), 'x');
}

struct StoredCase {
    const char* lines;
    std::vector<const char*> marked;    // items that must carry a mark
    std::vector<const char*> unmarked;  // items that must not
};

TEST_F(Menu, MarksFollowTheStoredValuesExactly) {
    const StoredCase cases[] = {
        {"Zembrit.plugin.wave.fps: 30\n", {"@ZembritInternal SetFPS 30"}, {}},
        {"Zembrit.plugin.wave.fps: 39\n", {"@ZembritInternal SetFPS 40"}, {"@ZembritInternal SetFPS 30"}},
        {"Zembrit.plugin.wave.buffsize: 40\n", {"@ZembritInternal SetBufferSize 40"}, {}},
        {"Zembrit.plugin.style.tabPosition: BR\n", {}, {"@ZembritInternal SetTabBR"}},
        {"Zembrit.plugin.style.scopeType: H\n", {}, {"@ZembritInternal SetScopeH", "@ZembritInternal SetScopeV"}},
        {"Zembrit.plugin.style.scopeType: v\n", {"@ZembritInternal SetScopeV"}, {"@ZembritInternal SetScopeH"}},
        {"Zembrit.plugin.motionbluralpha: 250\n", {}, {"@ZembritInternal SetBlurAlpha 120"}},
        {"Zembrit.plugin.inSlit: true\nZembrit.plugin.motionblur: true\n",
         {"@ZembritInternal SlitToggle", "@ZembritInternal ToggleBlur"},
         {}},
    };
    for (const StoredCase& stored : cases) {
        ASSERT_EQ(startQuiet(stored.lines), 0) << stored.lines;
        rightClick();
        for (const char* command : stored.marked) EXPECT_EQ(markOf(command), 'x') << stored.lines << command;
        for (const char* command : stored.unmarked) EXPECT_EQ(markOf(command), ' ') << stored.lines << command;
        end();
    }
}

TEST_F(Menu, ValuesNoItemOffersMarkNothingInTheirSubmenus) {
    ASSERT_EQ(startQuiet("Zembrit.plugin.style.scopeWidth: 5\nZembrit.plugin.wave.KHz: 22\n"
                         "Zembrit.plugin.wave.bit: 12\nZembrit.plugin.style.tabPosition: xx\n"
                         "Zembrit.plugin.motionbluralpha: 250\nZembrit.plugin.wave.buffsize: 32\n"),
              0);
    rightClick();
    for (const MenuLine& item : commandItems()) {
        for (const char* word : {"SetScopeWidth", "SetKHz", "SetBit ", "SetTab", "SetBlurAlpha", "SetFPS", "SetBuff"})
            if (item.command.find(word) != std::string::npos) {
                EXPECT_EQ(item.mark, ' ') << item.command;
            }
    }
}

TEST_F(Menu, FixedItemsNeverCarryAMark) {
    ASSERT_EQ(startQuiet(), 0);
    for (const char* command : {"@Zembrit SetStyle 3", "@ZembritInternal Edit", "@ZembritInternal About"}) {
        standin::broadcast(command);
        rightClick();
        for (const char* item : {"@ZembritInternal Edit", "@ZembritInternal About", "@Zembrit SetStyle 1",
                                 "@Zembrit SetStyle 2", "@Zembrit SetStyle 3", "@Zembrit SetStyle 4"})
            EXPECT_EQ(markOf(item), ' ') << command << " / " << item;
    }
}

// Needs the wave-in capture to run.
TEST_F(Menu, MonitorWaveIsMarkedExactlyWhileCapturing) {
    ASSERT_EQ(start(), 0);
    rightClick();
    EXPECT_EQ(markOf("@ZembritInternal ToggleRecord"), 'x');
    standin::broadcast("@ZembritInternal ToggleRecord");
    rightClick();
    EXPECT_EQ(markOf("@ZembritInternal ToggleRecord"), ' ');
    standin::broadcast("@ZembritInternal ToggleRecord");
    rightClick();
    EXPECT_EQ(markOf("@ZembritInternal ToggleRecord"), 'x');
}

// ---- Every item, picked the way the shell delivers a pick ------------------

std::string wordOf(const std::string& command) {
    const std::string internal = "@ZembritInternal ";
    return command.rfind(internal, 0) == 0 ? command.substr(internal.size()) : command;
}

struct ToggleKey {
    const char* word;
    const char* key;
};

constexpr ToggleKey kToggleKeys[] = {
    {"AlwaysOnTop", "Zembrit.plugin.alwaysontop:"},
    {"SlitToggle", "Zembrit.plugin.inSlit:"},
    {"SnapWindowToEdge", "Zembrit.plugin.snapwindow:"},
    {"ToggleWithPlugins", "Zembrit.plugin.togglewithplugins:"},
    {"ToggleBorder", "Zembrit.plugin.showBorder:"},
    {"MonitorStartUp", "Zembrit.plugin.wave.StartWaveMonitorOnStartUp:"},
    {"TransparencyEnabled", "Zembrit.plugin.transparency.enabled:"},
    {"TransbackEnabled", "Zembrit.plugin.transback.enabled:"},
    {"ToggleBlur", "Zembrit.plugin.motionblur:"},
    {"AutoGain", "Zembrit.plugin.autogain:"},
    {"ClickThrough", "Zembrit.plugin.clickThrough:"},
    {"Beam", "Zembrit.plugin.style.beam:"},
};

struct NumberKey {
    const char* word;  // the word before the number
    const char* key;
};

constexpr NumberKey kNumberKeys[] = {
    {"SetScopeWidth", "Zembrit.plugin.style.scopeWidth:"},
    {"SetKHz", "Zembrit.plugin.wave.KHz:"},
    {"SetBit", "Zembrit.plugin.wave.bit:"},
    {"SetFPS", "Zembrit.plugin.wave.fps:"},
    {"SetBufferSize", "Zembrit.plugin.wave.buffsize:"},
    {"SetBlurAlpha", "Zembrit.plugin.motionbluralpha:"},
    {"TransparencyAlpha", "Zembrit.plugin.transparency.alpha:"},
    {"SetDelay", "Zembrit.plugin.delay:"},
};

constexpr const char* kPresetKeys[] = {"toolbar.windowLabel.color", "window.label.focus.textColor", "menu.frame.color",
                                       "menu.hilite.color"};

class EndToEnd : public DockedMenu {
protected:
    void pick(const std::string& command) {
        standin::postBroadcast(command);
        pump(30);
    }

    // Carries out one item and checks what it must have changed.
    void checkItem(const MenuLine& item) {
        const std::string word = wordOf(item.command);
        SCOPED_TRACE(item.label + " -> " + item.command);
        for (const ToggleKey& toggle : kToggleKeys) {
            if (word != toggle.word) continue;
            pick(item.command);
            EXPECT_EQ(configValue(toggle.key), item.mark == 'x' ? "false" : "true");
            EXPECT_EQ(shellRecord.toolbarLabels.back(),
                      std::string("ZembritPlugin -> ") + toggle.word + (item.mark == 'x' ? " disabled!" : " enabled!"));
            return;
        }
        for (const NumberKey& number : kNumberKeys) {
            if (word.rfind(number.word, 0) != 0) continue;
            // The integer item gets its number from the shell, as a choice would.
            const std::string value = item.mark == '#' ? "128" : word.substr(word.find(' ') + 1);
            pick(item.mark == '#' ? item.command + " " + value : item.command);
            EXPECT_EQ(configValue(number.key), value);
            return;
        }
        if (word.rfind("SetTab", 0) == 0 || word.rfind("SetScope", 0) == 0) {
            pick(item.command);
            const bool tab = word.rfind("SetTab", 0) == 0;
            std::string code = word.substr(tab ? 6 : 8);
            for (char& c : code) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            EXPECT_EQ(configValue(tab ? "Zembrit.plugin.style.tabPosition:" : "Zembrit.plugin.style.scopeType:"), code);
            return;
        }
        if (word.rfind("SetTrigger ", 0) == 0 || word.rfind("SetChannels ", 0) == 0) {
            pick(item.command);
            const bool trigger = word.rfind("SetTrigger ", 0) == 0;
            EXPECT_EQ(configValue(trigger ? "Zembrit.plugin.trigger:" : "Zembrit.plugin.channels:"),
                      word.substr(word.find(' ') + 1));
            return;
        }
        if (word.rfind("SetSource ", 0) == 0) {
            pick(item.command);
            EXPECT_EQ(configValue("Zembrit.plugin.wave.source:"), word.substr(10));
            return;
        }
        if (word.rfind("@Zembrit SetStyle ", 0) == 0) {
            pick(item.command);
            EXPECT_EQ(configValue("Zembrit.plugin.style.ScopeColor:"), kPresetKeys[word.back() - '1']);
            return;
        }
        checkAction(item, word);
    }

    void checkAction(const MenuLine& item, const std::string& word) {
        const size_t boxes = shellRecord.messageBoxes.size(), executed = shellRecord.executed.size();
        const size_t labels = shellRecord.toolbarLabels.size();
        pick(item.command);
        if (word == "Edit") {
            EXPECT_EQ(shellRecord.executed.size(), executed + 1);
        } else if (word == "About") {
            ASSERT_EQ(shellRecord.messageBoxes.size(), boxes + 1);
            EXPECT_EQ(shellRecord.messageBoxes.back().caption, "About this plugin...");
        } else if (word == "ToggleRecord") {
            // Its effect on capture is checked with the capture tests.
            EXPECT_EQ(shellRecord.toolbarLabels.size(), labels);
        } else {
            ADD_FAILURE() << "no expectation for this item";
        }
    }
};

TEST_F(EndToEnd, EveryItemOfTheMenuWorks) {
    ASSERT_EQ(startQuiet(), 0);
    rightClick();
    const std::vector<MenuLine> items = commandItems();
    ASSERT_EQ(items.size(), 95u);
    for (const MenuLine& item : items) checkItem(item);
    EXPECT_EQ(shellRecord.dockEvents, (std::vector<std::string>{"add"}));
}

}  // namespace
}  // namespace zembrit_test
