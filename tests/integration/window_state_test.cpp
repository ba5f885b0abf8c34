// How the scope window sits on the desktop and answers the user's handling.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"

#include <string>
#include <vector>

#include "host/import_patch.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;

struct PostedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<PostedMessage> posted;
SHORT altState = 0;
decltype(&PostMessageA) realPostMessage;

// The left button is down, as it is while a real press is handled.
SHORT WINAPI fakeKeyState(int key) {
    if (key == VK_LBUTTON) return static_cast<SHORT>(0x8000);
    return key == VK_MENU ? altState : 0;
}

// System commands are recorded, not posted: a real one would start a modal
// move or size loop waiting for the mouse.
BOOL WINAPI recordPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SYSCOMMAND) return realPostMessage(window, message, wParam, lParam);
    posted.push_back({window, message, wParam, lParam});
    return TRUE;
}

class WindowState : public ShellFixture {
protected:
    void startWith(const std::string& config) {
        writeConfig(kQuiet + config);
        ASSERT_EQ(start(), 0);
        window = scopeWindow();
        ASSERT_NE(window, nullptr);
        pump();
    }

    RECT placement() const {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    void recordSystemCommands() {
        realPostMessage = reinterpret_cast<decltype(&PostMessageA)>(
            standin::patchImport(plugin.module, "user32.dll", "PostMessageA", reinterpret_cast<void*>(recordPost)));
        ASSERT_NE(realPostMessage, nullptr);
        posted.clear();
    }

    void moveTo(int x, int y) { SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }

    HWND window = nullptr;
};

TEST_F(WindowState, StartPlacesTheWindowAtItsStoredPlaceAndStacking) {
    startWith(
        "Zembrit.plugin.x: 40\nZembrit.plugin.y: 50\nZembrit.plugin.width: 120\n"
        "Zembrit.plugin.height: 30\n");
    RECT rect = placement();
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right - rect.left, 120);
    EXPECT_EQ(rect.bottom - rect.top, 30);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(GetForegroundWindow(), window);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(60, 60)), HTCAPTION);
    end();

    startWith("Zembrit.plugin.alwaysontop: false\n");
    EXPECT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// The stored alpha, held within 0 to 255, counts only when enabled.
TEST_F(WindowState, LayeredWindowHasTheColourKeyAndTheStoredAlpha) {
    struct Case {
        const char* enabled;
        int stored;
        BYTE alpha;
    };
    for (Case c : {Case{"true", 60, 60}, Case{"true", 256, 255}, Case{"true", 300, 255}, Case{"false", 60, 255}}) {
        SCOPED_TRACE(std::string(c.enabled) + " " + std::to_string(c.stored));
        startWith(std::string("Zembrit.plugin.transparency.enabled: ") + c.enabled +
                  "\nZembrit.plugin.transparency.alpha: " + std::to_string(c.stored) + "\n");
        EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
        COLORREF key = 0;
        BYTE alpha = 1;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
        EXPECT_EQ(key, RGB(255, 0, 230));
        EXPECT_EQ(alpha, c.alpha);
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
        end();
    }
}

// A completed change stores and writes all four values, the size raised to
// at least 16, while the window keeps the size it was given.
TEST_F(WindowState, CompletedChangeIsStoredWithTheSixteenPixelMinimum) {
    startWith("");
    SetWindowPos(window, nullptr, 30, 60, 12, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(configValue("Zembrit.plugin.x:"), "30");
    EXPECT_EQ(configValue("Zembrit.plugin.y:"), "60");
    EXPECT_EQ(configValue("Zembrit.plugin.width:"), "16");
    EXPECT_EQ(configValue("Zembrit.plugin.height:"), "40");
    EXPECT_EQ(placement().right - placement().left, 12);

    // The four keys went in, in order, after the one line we wrote.
    const std::string text = readPluginFile("Zembrit.rc");
    const size_t x = text.find("Zembrit.plugin.x:"), y = text.find("Zembrit.plugin.y:"),
                 width = text.find("Zembrit.plugin.width:"), height = text.find("Zembrit.plugin.height:");
    ASSERT_NE(height, std::string::npos);
    EXPECT_LT(x, y);
    EXPECT_LT(y, width);
    EXPECT_LT(width, height);
}

TEST_F(WindowState, CompletedChangeIsStoredWithinTheVirtualScreen) {
    startWith("");
    SetWindowPos(window, nullptr, 0, 0, 5000, 3000, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(configValue("Zembrit.plugin.width:"), std::to_string(GetSystemMetrics(SM_CXVIRTUALSCREEN)));
    EXPECT_EQ(configValue("Zembrit.plugin.height:"), std::to_string(GetSystemMetrics(SM_CYVIRTUALSCREEN)));
}

TEST_F(WindowState, CloseRequestLeavesTheWindowOpen) {
    startWith("");
    SendMessageA(window, WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
}

// The key is read when the press is handled: Alt sizes from the bottom-right
// corner, otherwise the press moves the window.
TEST_F(WindowState, AltDecidesBetweenResizeAndMove) {
    ASSERT_TRUE(load());
    for (const char* function : {"GetAsyncKeyState", "GetKeyState"})
        ASSERT_NE(standin::patchImport(plugin.module, "user32.dll", function, reinterpret_cast<void*>(fakeKeyState)),
                  nullptr)
            << function;
    recordSystemCommands();
    startWith("");
    for (SHORT state : {static_cast<SHORT>(0x8000), static_cast<SHORT>(0), static_cast<SHORT>(1)}) {
        altState = state;
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(20, 20));
    }
    ASSERT_EQ(posted.size(), 3u);
    const WPARAM expected[] = {0xF008, 0xF012, 0xF012};
    for (size_t i = 0; i < posted.size(); ++i) {
        EXPECT_EQ(posted[i].window, window) << i;
        EXPECT_EQ(posted[i].wParam, expected[i]) << i;
        EXPECT_EQ(posted[i].lParam, 0) << i;
    }
}

// A press the system never saw (sent by another program, or by the shell
// with no button down) starts no move or size loop.
TEST_F(WindowState, APressWithNoButtonDownStartsNoLoop) {
    ASSERT_TRUE(load());
    recordSystemCommands();
    startWith("");
    SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(20, 20));
    EXPECT_TRUE(posted.empty()) << "system command " << std::hex << posted[0].wParam;
}

TEST_F(WindowState, PendingChangesSnapOnlyWhileVisible) {
    startWith("");
    const int before = shellRecord.snapRequests;
    moveTo(5, 200);
    EXPECT_GT(shellRecord.snapRequests, before);
    EXPECT_EQ(placement().left, 0);  // within 10 pixels of the work area's edge

    ShowWindow(window, SW_HIDE);
    pump();
    const int hidden = shellRecord.snapRequests;
    moveTo(6, 200);
    EXPECT_EQ(shellRecord.snapRequests, hidden);
    EXPECT_EQ(placement().left, 6);
}

TEST_F(WindowState, NoSnappingWhenSwitchedOff) {
    startWith("Zembrit.plugin.snapwindow: false\n");
    const int before = shellRecord.snapRequests;
    moveTo(5, 200);
    EXPECT_EQ(shellRecord.snapRequests, before);
    EXPECT_EQ(placement().left, 5);
}

TEST_F(WindowState, MinimumTrackingSizeIsFiveByFive) {
    startWith("");
    MINMAXINFO limits{};
    limits.ptMinTrackSize = {100, 100};
    limits.ptMaxTrackSize = {800, 600};
    EXPECT_EQ(SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
    EXPECT_EQ(limits.ptMinTrackSize.x, 5);
    EXPECT_EQ(limits.ptMinTrackSize.y, 5);
    EXPECT_EQ(limits.ptMaxTrackSize.x, 800);
}

BYTE layeredAlpha(HWND window) {
    BYTE alpha = 0;
    GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr);
    return alpha;
}

// The plugin's calls that change the window, counted on their way through.
struct WindowCalls {
    int hides = 0, shows = 0, placements = 0, layerings = 0, styleWrites = 0, invalidations = 0;
};
WindowCalls calls;
decltype(&ShowWindow) realShowWindow;
decltype(&SetWindowPos) realSetWindowPos;
decltype(&SetLayeredWindowAttributes) realSetLayered;
decltype(&SetWindowLongPtrA) realSetWindowLong;
decltype(&InvalidateRect) realInvalidateRect;

BOOL WINAPI countedShowWindow(HWND window, int command) {
    ++(command == SW_HIDE ? calls.hides : calls.shows);
    return realShowWindow(window, command);
}
BOOL WINAPI countedSetWindowPos(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) {
    ++calls.placements;
    return realSetWindowPos(window, after, x, y, cx, cy, flags);
}
BOOL WINAPI countedSetLayered(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
    ++calls.layerings;
    return realSetLayered(window, key, alpha, flags);
}
LONG_PTR WINAPI countedSetWindowLong(HWND window, int index, LONG_PTR value) {
    ++calls.styleWrites;
    return realSetWindowLong(window, index, value);
}
BOOL WINAPI countedInvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    ++calls.invalidations;
    return realInvalidateRect(window, rect, erase);
}

// While hidden with the shell's plugins, applying the state only hides the
// window: a new alpha waits, nothing is placed and no repaint is requested.
TEST_F(WindowState, HiddenWithPluginsDoesNothingButHide) {
    ASSERT_TRUE(load());
    patch(plugin.module, "user32.dll", "ShowWindow", countedShowWindow, realShowWindow);
    patch(plugin.module, "user32.dll", "SetWindowPos", countedSetWindowPos, realSetWindowPos);
    patch(plugin.module, "user32.dll", "SetLayeredWindowAttributes", countedSetLayered, realSetLayered);
    // 32-bit user32 has no SetWindowLongPtrA: the header makes it SetWindowLongA.
    patch(plugin.module, "user32.dll", sizeof(void*) == 8 ? "SetWindowLongPtrA" : "SetWindowLongA",
          countedSetWindowLong, realSetWindowLong);
    patch(plugin.module, "user32.dll", "InvalidateRect", countedInvalidateRect, realInvalidateRect);
    startWith("Zembrit.plugin.transparency.enabled: true\nZembrit.plugin.transparency.alpha: 60\n");
    // Start-up applied the state once, through every step.
    EXPECT_EQ(calls.placements, 1);
    EXPECT_EQ(calls.layerings, 1);
    EXPECT_EQ(calls.invalidations, 1);

    calls = {};
    standin::broadcast("@NRHidePlugins");
    EXPECT_FALSE(IsWindowVisible(window));
    standin::broadcast("@ZembritInternal TransparencyAlpha 99");
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(layeredAlpha(window), 60);
    EXPECT_EQ(calls.hides, 2);
    EXPECT_EQ(calls.shows + calls.placements + calls.layerings + calls.styleWrites + calls.invalidations, 0);

    calls = {};
    standin::broadcast("@NRShowPlugins");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(layeredAlpha(window), 99);
    EXPECT_EQ(calls.placements, 1);
    EXPECT_EQ(calls.invalidations, 1);
}

TEST_F(WindowState, PluginsHideLeavesTheWindowShownWithoutToggling) {
    startWith("Zembrit.plugin.togglewithplugins: false\n");
    standin::broadcast("@NRHidePlugins");
    EXPECT_TRUE(IsWindowVisible(window));
}

// Stored as docked but started with no dock to hold it, the scope floats
// with all that floating means.
TEST_F(WindowState, WithoutADockAScopeStoredDockedFloats) {
    startWith("Zembrit.plugin.inSlit: true\nZembrit.plugin.x: 40\n");
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(60, 60)), HTCAPTION);
    const int snaps = shellRecord.snapRequests;
    moveTo(200, 150);
    EXPECT_GT(shellRecord.snapRequests, snaps);
    EXPECT_EQ(configValue("Zembrit.plugin.x:"), "200");
    EXPECT_EQ(configValue("Zembrit.plugin.y:"), "150");
    standin::broadcast("@NRHidePlugins");
    EXPECT_FALSE(IsWindowVisible(window));
}

class DockedWindowState : public DockedShellFixture {
protected:
    HWND window = nullptr;
};

// Docked, the window is a client area of the dock: no layering, no
// snapping, and its moves leave the stored floating place alone.
TEST_F(DockedWindowState, DockedWindowAnswersClientAndStoresNothing) {
    writeConfig(std::string(kQuiet) + "Zembrit.plugin.inSlit: true\nZembrit.plugin.x: 40\n");
    ASSERT_EQ(start(), 0);
    pump();
    window = scopeWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(shellRecord.dockEvents, std::vector<std::string>{"add"});
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTCLIENT);
    EXPECT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED);

    const std::string stored = readPluginFile("Zembrit.rc");
    const int snaps = shellRecord.snapRequests;
    SetWindowPos(window, nullptr, 3, 70, 50, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 50);
    EXPECT_EQ(readPluginFile("Zembrit.rc"), stored);
    EXPECT_EQ(configValue("Zembrit.plugin.x:"), "40");
    EXPECT_EQ(shellRecord.snapRequests, snaps);
}

bool passesClicks(HWND window) { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0; }

// Floating and layered, the scope lets clicks reach what lies beneath it, so
// the point it covers is another window's; docked, the dock keeps them.
TEST_F(DockedWindowState, ClickThroughAppliesOnlyToTheFloatingLayeredWindow) {
    writeConfig(kQuiet);
    ASSERT_EQ(start(), 0);
    pump();
    window = scopeWindow();
    ASSERT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT rect{};
    GetWindowRect(window, &rect);
    for (bool passes : {true, false}) {
        standin::broadcast("@ZembritInternal ClickThrough");
        EXPECT_EQ(passesClicks(window), passes);
        EXPECT_EQ(WindowFromPoint(POINT{rect.left + 5, rect.top + 5}) != window, passes);
    }
    standin::broadcast("@ZembritInternal ClickThrough");
    standin::broadcast("@ZembritInternal SlitToggle");
    ASSERT_EQ(shellRecord.dockEvents, std::vector<std::string>{"add"});
    EXPECT_FALSE(passesClicks(window)) << "docking takes the clicks back";
}

}  // namespace
}  // namespace zembrit_test
