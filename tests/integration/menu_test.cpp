// The context menu as the shell receives it: the very menu the menu model
// builds from the settings the plugin read, in popup and refresh builds.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"

#include <mmsystem.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "commands/menu_model.h"
#include "host/config_text.h"
#include "host/import_patch.h"
#include "settings/settings_rules.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;
using zembrit::MenuOp;
using zembrit::MenuOpKind;

MMRESULT WINAPI refuseOpen(LPHWAVEIN, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD) { return MMSYSERR_NODRIVER; }

// The tree the shell's record shows once it has replayed ops.
std::string treeOf(const std::vector<MenuOp>& ops) {
    std::map<int, std::pair<const MenuOp*, std::vector<const MenuOp*>>> menus;  // each menu and its items
    int shown = 0;
    for (const MenuOp& op : ops) {
        if (op.kind == MenuOpKind::NamedMenu)
            menus[op.menu].first = &op;
        else if (op.kind == MenuOpKind::Show)
            shown = op.menu;
        else
            menus[op.menu].second.push_back(&op);
    }
    std::string tree;
    std::function<void(int, const std::string&)> dump = [&](int menu, const std::string& indent) {
        tree += indent + "[" + menus[menu].first->label + "] " + menus[menu].first->command + "\n";
        for (const MenuOp* op : menus[menu].second) {
            const std::string item = indent + "  ";
            if (op->kind == MenuOpKind::Item)
                tree += item + (op->checked ? "(x) " : "( ) ") + op->label + " -> " + op->command + "\n";
            if (op->kind == MenuOpKind::IntItem)
                tree += item + "(#) " + op->label + " -> " + op->command + " = " + std::to_string(op->value) + " [" +
                        std::to_string(op->minimum) + ".." + std::to_string(op->maximum) + "]\n";
            if (op->kind == MenuOpKind::Separator) tree += item + "---\n";
            if (op->kind == MenuOpKind::Submenu) {
                tree += item + ">> " + op->label + "\n";
                dump(op->child, indent + "    ");
            }
        }
    };
    dump(shown, "");
    return tree;
}

// The shell's record of the named menus the ops make, in order.
std::vector<std::string> namedMenus(const std::vector<MenuOp>& ops, const char* build) {
    std::vector<std::string> calls;
    for (const MenuOp& op : ops)
        if (op.kind == MenuOpKind::NamedMenu) calls.push_back(op.label + "|" + op.command + "|" + build);
    return calls;
}

// The configuration text as the shell answers the plugin's reads of it.
class StoredFile final : public zembrit::SettingsReader {
public:
    explicit StoredFile(std::string text) : text_(std::move(text)) {}
    bool readBool(const char* key, bool fallback) const override {
        const auto value = zembrit::shellfile::lookupValue(text_, key);
        if (value) zembrit::shellfile::parseBoolValue(*value, fallback);
        return fallback;
    }
    int32_t readInt(const char* key, int32_t fallback) const override {
        const auto value = zembrit::shellfile::lookupValue(text_, key);
        if (value) zembrit::shellfile::parseIntValue(*value, fallback);
        return fallback;
    }
    const char* readText(const char* key, const char* fallback) const override {
        const auto value = zembrit::shellfile::lookupValue(text_, key);
        return value ? answers_.emplace_back(*value).c_str() : fallback;
    }

private:
    std::string text_;
    mutable std::deque<std::string> answers_;
};

// The menu the plugin should send for this configuration text, capture stopped.
std::vector<MenuOp> menuFor(const std::string& text) {
    zembrit::ScopeSettings settings;
    zembrit::readEachSetting(settings, StoredFile(text),
                             {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)});
    return zembrit::buildScopeMenu({settings, false, {}});
}

class Menu : public ShellFixture {
protected:
    // The registered window: found docked or floating alike.
    void rightClick(UINT message = WM_NCRBUTTONUP) {
        SendMessageA(registeredWindow(), message, message == WM_NCRBUTTONUP ? HTCAPTION : 0, 0);
    }
};

TEST_F(Menu, WithoutAFileTheShellGetsTheDefaultMenu) {
    // A device that will not open keeps capture stopped.
    ASSERT_TRUE(load());
    standin::patchImport(plugin.module, "winmm.dll", "waveInOpen", reinterpret_cast<void*>(refuseOpen));
    ASSERT_EQ(start(), 0);
    shellRecord.menuCalls.clear();
    rightClick();
    const std::vector<MenuOp> ops = zembrit::buildScopeMenu({zembrit::ScopeSettings{}, false, {}});
    EXPECT_EQ(shellRecord.menuDump, treeOf(ops));
    EXPECT_EQ(shellRecord.menuCalls, namedMenus(ops, "popup"));
    EXPECT_EQ(shellRecord.menuShows, 1);
    EXPECT_EQ(shellRecord.menuRefreshes, 0);
}

// What each key of the file means to the menu is the model's; this is the
// plugin reading each through the shell and sending what the model builds.
TEST_F(Menu, StoredValuesGiveTheModelsMenu) {
    for (const char* lines : {"Zembrit.plugin.wave.fps: 39\nZembrit.plugin.wave.buffsize: 40\n"
                              "Zembrit.plugin.style.tabPosition: BR\nZembrit.plugin.style.scopeType: v\n"
                              "Zembrit.plugin.inSlit: true\nZembrit.plugin.motionblur: true\n",
                              "Zembrit.plugin.style.scopeWidth: 5\nZembrit.plugin.wave.KHz: 22\n"
                              "Zembrit.plugin.wave.bit: 12\nZembrit.plugin.style.tabPosition: xx\n"
                              "Zembrit.plugin.motionbluralpha: 250\nZembrit.plugin.wave.buffsize: 32\n"
                              "Zembrit.plugin.style.scopeType: H\nZembrit.plugin.transparency.alpha: 300\n",
                              "Zembrit.plugin.trigger: rising\nZembrit.plugin.channels: xy\n"
                              "Zembrit.plugin.autogain: true\nZembrit.plugin.delay: 150\n"
                              "Zembrit.plugin.style.ScopeColor: menu.frame.color\nZembrit.plugin.style.beam: true\n"
                              "Zembrit.plugin.clickThrough: true\nZembrit.plugin.alwaysontop: false\n"
                              "Zembrit.plugin.view: Spectrum\nZembrit.plugin.meter: true\n"}) {
        SCOPED_TRACE(lines);
        ASSERT_EQ(startQuiet(lines), 0);
        rightClick();
        EXPECT_EQ(shellRecord.menuDump, treeOf(menuFor(kQuiet + std::string(lines))));
        end();
    }
}

TEST_F(Menu, RightButtonReleaseInEitherAreaOpensTheMenu) {
    ASSERT_EQ(startQuiet(), 0);
    rightClick(WM_RBUTTONUP);
    EXPECT_EQ(shellRecord.menuShows, 1);
    rightClick(WM_NCRBUTTONUP);
    EXPECT_EQ(shellRecord.menuShows, 2);
    std::vector<std::string> twice = namedMenus(menuFor(kQuiet), "popup");
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
    EXPECT_EQ(shellRecord.menuCalls, namedMenus(menuFor(kQuiet), "refresh"));
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

}  // namespace
}  // namespace zembrit_test
