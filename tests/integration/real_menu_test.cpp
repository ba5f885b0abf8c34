// The context menu as a user meets it: a real popup menu opened by a right
// click, an item picked with the keyboard, its command carried out.
#include <atomic>
#include <chrono>
#include <thread>

#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/waiting.h"

namespace zembrit_test {
namespace {

struct MenuSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findOwnMenu(HWND window, LPARAM search) {
    auto& wanted = *reinterpret_cast<MenuSearch*>(search);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (std::string(name) == "#32768" && process == wanted.process && IsWindowVisible(window)) wanted.found = window;
    return wanted.found == nullptr;
}

HWND waitForOwnMenu() {
    MenuSearch search{GetCurrentProcessId(), nullptr};
    waitUntil([&] {
        EnumWindows(findOwnMenu, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

void press(HWND menu, UINT key) {
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

class RealMenu : public ShellFixture {};

TEST_F(RealMenu, RightClickShowsThePopupAndThePickedItemRuns) {
    writeConfig("Zembrit.plugin.wave.StartWaveMonitorOnStartUp: false\n");
    ASSERT_EQ(start(), 0);
    standin::shellOptions.interactive = true;
    std::atomic<bool> shown{false};
    // Second item of the main menu: "Monitor Wave?", which starts capture.
    std::thread user([&] {
        HWND menu = waitForOwnMenu();
        shown = menu != nullptr;
        if (!menu) return;
        press(menu, VK_DOWN);
        press(menu, VK_DOWN);
        press(menu, VK_RETURN);
    });
    SendMessageA(scopeWindow(), WM_NCRBUTTONUP, HTCAPTION, 0);
    user.join();
    standin::shellOptions.interactive = false;
    ASSERT_TRUE(shown) << "no popup menu appeared";

    // The pick arrives through the shell's message loop.
    EXPECT_TRUE(pumpUntil([this] {
        SendMessageA(scopeWindow(), WM_RBUTTONUP, 0, 0);
        return standin::shellRecord.menuDump.find("(x) Monitor Wave? -> @ZembritInternal ToggleRecord") !=
               std::string::npos;
    })) << standin::shellRecord.menuDump
        << standin::shellRecord.messageBoxes.size() << " message boxes";
}

}  // namespace
}  // namespace zembrit_test
