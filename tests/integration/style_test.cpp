// The colours the painted scope takes from the colour presets and the shell's
// style, read back from the painted window.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/window_picture.h"

#include <string>
#include <utility>
#include <vector>

namespace zembrit_test {
namespace {

// The stand-in shell's default style (host/default.style).
constexpr COLORREF kToolbarText = RGB(0xe8, 0xf0, 0xff);
constexpr COLORREF kPresetColors[] = {RGB(0xff, 0xd1, 0x66), RGB(0x06, 0xd6, 0xa0), RGB(0xef, 0x47, 0x6f),
                                      RGB(0x11, 0x8a, 0xb2)};

// How many pixels of the window's client area show exactly colour.
int pixelsOf(HWND window, COLORREF colour) { return windowPicture(window).count(colour); }

// The default style file with some of its lines replaced or removed.
std::string styleWith(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::string text = readFile(programDirectory() + "default.style");
    for (const auto& [key, value] : changes) {
        const size_t at = text.find("\n" + key + ":");
        if (at == std::string::npos) {
            text += key + ": " + value + "\n";
            continue;
        }
        const size_t end = text.find('\n', at + 1);
        text.replace(at + 1, end - at, value.empty() ? "" : key + ": " + value + "\n");
    }
    return text;
}

class Style : public ShellFixture {
protected:
    void repaint() {
        InvalidateRect(scopeWindow(), nullptr, FALSE);
        UpdateWindow(scopeWindow());
        pump(20);
    }
};

TEST_F(Style, PresetColoursTheTraceFromTheNextPaintOn) {
    ASSERT_EQ(startQuiet(), 0);
    HWND window = scopeWindow();
    repaint();
    ASSERT_GT(pixelsOf(window, kToolbarText), 0);
    for (int n = 1; n <= 4; ++n) {
        const COLORREF before = n == 1 ? kToolbarText : kPresetColors[n - 2];
        standin::broadcast(("@Zembrit SetStyle " + std::to_string(n)).c_str());
        pump(50);
        // Capture is stopped and the preset requests no paint.
        EXPECT_GT(pixelsOf(window, before), 0) << n;
        EXPECT_EQ(pixelsOf(window, kPresetColors[n - 1]), 0) << n;
        repaint();
        EXPECT_GT(pixelsOf(window, kPresetColors[n - 1]), 0) << n;
        EXPECT_EQ(pixelsOf(window, before), 0) << n;
    }
}

TEST_F(Style, PresetThreeSurvivesAReconfigure) {
    ASSERT_EQ(startQuiet(), 0);
    standin::broadcast("@Zembrit SetStyle 3");
    standin::reconfigure();
    repaint();
    EXPECT_EQ(configValue("Zembrit.plugin.style.ScopeColor:"), "menu.frame.color");
    EXPECT_GT(pixelsOf(scopeWindow(), kPresetColors[2]), 0);
    EXPECT_EQ(pixelsOf(scopeWindow(), kToolbarText), 0);
}

TEST_F(Style, StyleWithoutTheKeyGivesAWhiteTrace) {
    writeShellFile("default.style", styleWith({{"toolbar.textColor", ""}}));
    ASSERT_EQ(startQuiet(), 0);
    repaint();
    EXPECT_GT(pixelsOf(scopeWindow(), RGB(255, 255, 255)), 0);
    EXPECT_EQ(pixelsOf(scopeWindow(), kToolbarText), 0);
}

TEST_F(Style, ReconfigureReloadsTheStyleRecordAndColours) {
    ASSERT_EQ(startQuiet("Zembrit.plugin.transback.enabled: true\n"), 0);
    const COLORREF trace = RGB(0, 200, 0), tabFill = RGB(10, 20, 250), border = RGB(250, 250, 0);
    writeShellFile(
        "default.style",
        styleWith({{"toolbar.textColor", "#00c800"}, {"scope.tab.color", "#0a14fa"}, {"border.color", "#fafa00"}}));
    repaint();
    EXPECT_EQ(pixelsOf(scopeWindow(), trace), 0);  // a copy: nothing new before the reload

    standin::reconfigure();
    repaint();
    EXPECT_GT(pixelsOf(scopeWindow(), trace), 0);
    EXPECT_GT(pixelsOf(scopeWindow(), tabFill), 0);
    EXPECT_GT(pixelsOf(scopeWindow(), border), 0);
}

}  // namespace
}  // namespace zembrit_test
