// The scope on a display at 150 %: this program runs only on the bench whose
// prefix is set to 144 DPI, where Wine refuses the per-monitor v2 context
// and accepts v1.
#include <string>
#include <vector>

#include "tests/integration/support/paint_probe.h"
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"
#include "tests/integration/support/window_picture.h"

namespace zembrit_test {
namespace {

// Looked up, as the plugin does: the headers for this Windows version lack them.
template <class Function>
Function user32(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// 0 unaware, 1 system, 2 per monitor: of the thread, or of a window.
int awareness(HWND window = nullptr) {
    const HANDLE context = window ? user32<HANDLE(WINAPI*)(HWND)>("GetWindowDpiAwarenessContext")(window)
                                  : user32<HANDLE(WINAPI*)()>("GetThreadDpiAwarenessContext")();
    return user32<int(WINAPI*)(HANDLE)>("GetAwarenessFromDpiAwarenessContext")(context);
}

// What the plugin finds when it looks GetDpiForWindow up: one answering fakeDpi.
UINT fakeDpi = 144;
decltype(&GetProcAddress) realGetProcAddress;

UINT WINAPI fakeDpiForWindow(HWND) { return fakeDpi; }

FARPROC WINAPI lookUp(HMODULE module, LPCSTR name) {
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && std::string(name) == "GetDpiForWindow")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&fakeDpiForWindow));
    return realGetProcAddress(module, name);
}

std::vector<LONG> placementOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// A file as the scope wrote it at 96 DPI: 200 × 40 at (40, 50), trace 2 wide.
constexpr char kWrittenAt96[] =
    "Zembrit.plugin.x: 40\nZembrit.plugin.y: 50\nZembrit.plugin.width: 200\nZembrit.plugin.height: 40\n"
    "Zembrit.plugin.style.scopeWidth: 2\n";

template <class Fixture>
class Scaled : public Fixture {
protected:
    void startWith(const std::string& config, bool lookUpFaked = false) {
        ASSERT_EQ(user32<UINT(WINAPI*)()>("GetDpiForSystem")(), 144u) << "the bench's prefix is not at 150 %";
        this->writeConfig(kQuiet + config);
        ASSERT_TRUE(this->load());
        if (lookUpFaked) patch(this->plugin.module, "kernel32.dll", "GetProcAddress", &lookUp, realGetProcAddress);
        threadAwarenessBefore = awareness();
        ASSERT_EQ(this->start(), 0);
        window = this->scopeWindow();
        ASSERT_NE(window, nullptr);
        this->pump();
    }

    // Rows showing the trace after a repaint: the pen's width for a flat trace.
    int traceWidth() {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return traceRows(window);
    }

    std::vector<std::string> stored() {
        return {this->configValue("Zembrit.plugin.x:"), this->configValue("Zembrit.plugin.y:"),
                this->configValue("Zembrit.plugin.width:"), this->configValue("Zembrit.plugin.height:")};
    }

    HWND window = nullptr;
    int threadAwarenessBefore = -1;
};

using DisplayScale = Scaled<ShellFixture>;
using DockedDisplayScale = Scaled<DockedShellFixture>;
const std::vector<std::string> kStoredAt96 = {"40", "50", "200", "40"};

// Same place and apparent size as the system's stretching gave, in the
// display's own pixels, from a per-monitor (v1) window; the shell's thread
// keeps its awareness, and the file its values through placement notices.
TEST_F(DisplayScale, FileWrittenAt96DpiShowsOneAndAHalfTimesAsLargeAndSnapsAt15) {
    startWith(kWrittenAt96);
    EXPECT_EQ(placementOf(window), (std::vector<LONG>{60, 75, 360, 135}));
    EXPECT_EQ(awareness(window), 2);
    EXPECT_EQ(awareness(), threadAwarenessBefore);
    EXPECT_EQ(traceWidth(), 3);
    EXPECT_EQ(windowPicture(window).at(290, 30), RGB(0xe8, 0xf0, 0xff)) << "the trace spans the scaled width";

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    const LONG edge = monitor.rcWork.left;
    SetWindowPos(window, nullptr, edge + 15, 75, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(placementOf(window)[0], edge + 15);
    SetWindowPos(window, nullptr, edge + 14, 75, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(placementOf(window)[0], edge) << "10 at 96 DPI is 15 here";
    SetWindowPos(window, nullptr, 60, 75, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(stored(), kStoredAt96);
    MINMAXINFO limits{};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 8) << "5 at 96 DPI";
}

// Wine never sends the message itself. The window takes the rectangle as
// given and stays there; the file keeps 96-DPI units; the next paint fills
// the rectangle with the trace at the new scale.
TEST_F(DisplayScale, DpiChangeTakesTheSuggestedRectangleAndPaintsItWhole) {
    startWith(kWrittenAt96);
    RECT suggested{100, 120, 500, 200};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    pump(200);
    standin::reconfigure();
    pump();
    EXPECT_EQ(placementOf(window), (std::vector<LONG>{100, 120, 500, 200}));
    EXPECT_EQ(stored(), (std::vector<std::string>{"50", "60", "200", "40"}));
    EXPECT_EQ(traceWidth(), 4);
    const Picture shown = windowPicture(window);
    ASSERT_EQ(shown.width, 400);
    ASSERT_EQ(shown.height, 80);
    EXPECT_EQ(shown.at(395, 40), RGB(0xe8, 0xf0, 0xff));
}

// A change that came without the message (docking, a thread-only awareness)
// is found at the next placement notice: the window is placed again from
// the file at the new scale, and the file keeps its values.
TEST_F(DisplayScale, ChangeWithoutTheMessageIsFoundAtTheNextPlacement) {
    startWith(kWrittenAt96, true);
    fakeDpi = 192;
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    pump();
    EXPECT_EQ(placementOf(window), (std::vector<LONG>{80, 100, 480, 180}));
    EXPECT_EQ(stored(), kStoredAt96);
    EXPECT_EQ(traceWidth(), 4);
}

// Made as the shell makes its windows, and sized at the dock's scale.
TEST_F(DockedDisplayScale, DockedWindowFollowsTheShellsScale) {
    startWith(std::string(kWrittenAt96) + "Zembrit.plugin.inSlit: true\n");
    ASSERT_EQ(standin::shellRecord.dockEvents, std::vector<std::string>{"add"});
    EXPECT_EQ(awareness(window), awareness(GetParent(window)));
    const std::vector<LONG> rect = placementOf(window);
    EXPECT_EQ(rect[2] - rect[0], 300);
    EXPECT_EQ(rect[3] - rect[1], 60);
    EXPECT_EQ(traceWidth(), 3);
}

}  // namespace
}  // namespace zembrit_test
