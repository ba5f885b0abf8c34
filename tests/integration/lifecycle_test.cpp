// Start-up, shut-down and the window class, as the shell sees them.
#include "tests/integration/support/shell_fixture.h"

#include <string>

#include "host/import_patch.h"
#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/waiting.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;

class Lifecycle : public ShellFixture {};

TEST_F(Lifecycle, PluginInfoAnswersEveryField) {
    ASSERT_TRUE(load());
    EXPECT_STREQ(plugin.info(1), "Zembrit");
    EXPECT_STREQ(plugin.info(2), "v1.22b");
    EXPECT_STRNE(plugin.info(3), "");
    EXPECT_STREQ(plugin.info(4), "2006-01-29");
    EXPECT_STRNE(plugin.info(5), "");
    EXPECT_STRNE(plugin.info(6), "");
    EXPECT_STREQ(plugin.info(7), "@Zembrit SetStyle 1@Zembrit SetStyle 2@Zembrit SetStyle 3@Zembrit SetStyle 4");
    for (int other : {0, 9, -1}) EXPECT_STREQ(plugin.info(other), "Zembrit v1.22b") << other;
}

// The update address is the stored one, cut to its field, or empty; text
// values too long for their fields leave a scope that paints.
TEST_F(Lifecycle, UpdateAddressComesFromTheConfigurationCutToItsField) {
    ASSERT_EQ(start(), 0);
    EXPECT_STREQ(plugin.info(8), "");
    end();
    writeConfig("Zembrit.plugin.update.url: https://example.org/zembrit\n");
    ASSERT_EQ(start(), 0);
    EXPECT_STREQ(plugin.info(8), "https://example.org/zembrit");
    end();
    const std::string huge(10000, 'u');
    writeConfig(std::string(kQuiet) + "Zembrit.plugin.update.url: " + huge +
                "\nZembrit.plugin.style.ScopeColor: " + huge + "\nZembrit.plugin.style.tabPosition: " + huge +
                "\nZembrit.plugin.style.scopeType: " + huge + "\n");
    ASSERT_EQ(start(), 0);
    EXPECT_EQ(std::string(plugin.info(8)), huge.substr(0, 259));
    RedrawWindow(scopeWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(windowAnswers(scopeWindow()));
}

TEST_F(Lifecycle, StartRegistersClassWindowAndMessages) {
    ASSERT_EQ(start(), 0);
    HWND window = scopeWindow();
    ASSERT_NE(window, nullptr);

    ASSERT_EQ(shellRecord.registrations.size(), 1u);
    EXPECT_EQ(shellRecord.registrations[0].window, window);
    EXPECT_EQ(shellRecord.registrations[0].messages, (std::vector<UINT>{10103, 10901}));
    ASSERT_EQ(shellRecord.stickyWindows.size(), 1u);
    EXPECT_EQ(shellRecord.stickyWindows[0], window);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    ASSERT_TRUE(GetClassInfoExA(plugin.module, "Zembrit", &windowClass));
    EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(windowClass.hbrBackground, nullptr);
    EXPECT_EQ(windowClass.hIcon, nullptr);
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);
    EXPECT_EQ(windowClass.hCursor, LoadCursor(nullptr, IDC_ARROW));

    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_CHILD), 0);
    LONG_PTR extended = GetWindowLongPtrA(window, GWL_EXSTYLE);
    EXPECT_TRUE(extended & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(extended & WS_EX_LAYERED);
    char title[16] = "x";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "");
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

TEST_F(Lifecycle, EndDestroysWindowUnregistersAndRemovesClass) {
    ASSERT_EQ(start(), 0);
    HWND window = scopeWindow();
    end();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(shellRecord.registrations.empty());
    ASSERT_EQ(shellRecord.unregistrations.size(), 1u);
    EXPECT_EQ(shellRecord.unregistrations[0], std::to_string(reinterpret_cast<uintptr_t>(window)) + ":10103,10901,");
    EXPECT_TRUE(shellRecord.stickyWindows.empty());
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    EXPECT_FALSE(GetClassInfoExA(plugin.module, "Zembrit", &windowClass));
}

// A destroy message sent to a window that is not being destroyed (by another
// program, or from inside the shell) tears nothing down; whatever one tears
// down, no repaint spins and the end still destroys the window.
TEST_F(Lifecycle, ForgedDestroyMessagesLeaveNoSpinningPaintAndTheEndStillDestroysTheWindow) {
    for (UINT forged : {WM_DESTROY, WM_NCDESTROY}) {
        SCOPED_TRACE(forged);
        ASSERT_EQ(startQuiet(), 0);
        HWND window = scopeWindow();
        SendMessageA(window, forged, 0, 0);
        if (forged == WM_DESTROY) {
            EXPECT_EQ(shellRecord.registrations.size(), 1u);
            EXPECT_EQ(shellRecord.stickyWindows.size(), 1u);
        }
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "the paint left the window invalid: it repaints forever";
        end();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_TRUE(shellRecord.registrations.empty());
        EXPECT_EQ(shellRecord.unregistrations.size(), 1u);
        shellRecord.unregistrations.clear();
    }
}

LRESULT CALLBACK idleProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Lifecycle, FailedClassRegistrationIsReportedToTheShellWindow) {
    ASSERT_TRUE(load());
    WNDCLASSA taken{};
    taken.lpfnWndProc = idleProcedure;
    taken.hInstance = plugin.module;
    taken.lpszClassName = "Zembrit";
    ASSERT_TRUE(RegisterClassA(&taken));

    EXPECT_EQ(start(), 1);
    ASSERT_EQ(shellRecord.messageBoxes.size(), 1u);
    const auto& box = shellRecord.messageBoxes[0];
    EXPECT_EQ(box.text, "Error registering window class");
    EXPECT_EQ(box.caption, "Zembrit v1.22b");
    EXPECT_EQ(box.owner, standin::shellMainWindow());
    EXPECT_EQ(box.type & (MB_TOPMOST | MB_ICONERROR), static_cast<UINT>(MB_TOPMOST | MB_ICONERROR));
    EXPECT_EQ(scopeWindow(), nullptr);
    EXPECT_TRUE(shellRecord.registrations.empty());
    UnregisterClassA("Zembrit", plugin.module);
}

HWND WINAPI refuseWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID) {
    return nullptr;
}

TEST_F(Lifecycle, FailedWindowCreationIsReportedWithoutOwner) {
    ASSERT_TRUE(load());
    ASSERT_NE(
        standin::patchImport(plugin.module, "user32.dll", "CreateWindowExA", reinterpret_cast<void*>(refuseWindow)),
        nullptr);
    EXPECT_EQ(start(), 1);
    ASSERT_EQ(shellRecord.messageBoxes.size(), 1u);
    EXPECT_EQ(shellRecord.messageBoxes[0].text, "Error creating window");
    EXPECT_EQ(shellRecord.messageBoxes[0].owner, nullptr);
    EXPECT_EQ(shellRecord.messageBoxes[0].caption, "Zembrit v1.22b");
    // The failed start leaves nothing that would stop the next one.
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    EXPECT_FALSE(GetClassInfoExA(plugin.module, "Zembrit", &windowClass));
}

TEST_F(Lifecycle, FiftyCyclesLeaveNoWindowClassOrThread) {
    ASSERT_EQ(start(), 0);
    end();
    pump();
    long threadsAfterFirst = processThreadCount();
    for (int cycle = 0; cycle < 50; ++cycle) {
        ASSERT_EQ(start(), 0) << cycle;
        pump(5);
        end();
    }
    EXPECT_EQ(scopeWindow(), nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    EXPECT_FALSE(GetClassInfoExA(plugin.module, "Zembrit", &windowClass));
    // The audio driver's threads end a moment after its device closes.
    EXPECT_TRUE(pumpUntil([&] { return processThreadCount() <= threadsAfterFirst; }))
        << processThreadCount() << " threads, " << threadsAfterFirst << " after the first cycle";
    EXPECT_TRUE(shellRecord.messageBoxes.empty()) << shellRecord.messageBoxes[0].text;
}

}  // namespace
}  // namespace zembrit_test
