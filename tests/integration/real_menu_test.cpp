// The context menu as a user meets it: a real popup menu opened by a right
// click, an item picked with the keyboard, its command carried out.
#include <atomic>
#include <chrono>
#include <thread>

#include "tests/integration/support/shell_fixture.h"

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
    for (int attempt = 0; attempt < 500; ++attempt) {
        MenuSearch search{GetCurrentProcessId(), nullptr};
        EnumWindows(findOwnMenu, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
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
    pump(300);

    SendMessageA(scopeWindow(), WM_RBUTTONUP, 0, 0);
    EXPECT_NE(standin::shellRecord.menuDump.find("(x) Monitor Wave? -> @ZembritInternal ToggleRecord"),
              std::string::npos)
        << standin::shellRecord.menuDump;
}

}  // namespace
}  // namespace zembrit_test
