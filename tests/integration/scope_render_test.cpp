// What the scope paints, read back from the real window, and the drawing
// objects the plugin makes for it, seen through its gdi32 imports.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/paint_probe.h"
#include "tests/integration/support/waiting.h"
#include "tests/integration/support/window_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/import_patch.h"
#include "shell/shell_api.h"

namespace zembrit_test {
namespace {

// The stand-in shell's default style, as the plugin reads it.
constexpr COLORREF kScopeColor = RGB(0xe8, 0xf0, 0xff);  // toolbar.textColor
constexpr COLORREF kBorderColor = RGB(0x88, 0x99, 0xaa);
constexpr COLORREF kTabFill = RGB(0x5a, 0x7f, 0xa6);
constexpr COLORREF kColorKey = RGB(255, 0, 230);
constexpr COLORREF kGreen = RGB(0, 200, 0);

// ---- Pictures -------------------------------------------------------------

// Counts the pixels where two pictures differ by more than tolerance in a channel.
int differences(const Picture& a, const Picture& b, int tolerance = 0) {
    if (a.width != b.width || a.height != b.height) return -1;
    int count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift : {0, 8, 16}) {
            int ca = (a.pixels[i] >> shift) & 255, cb = (b.pixels[i] >> shift) & 255;
            if (std::abs(ca - cb) > tolerance) {
                ++count;
                break;
            }
        }
    return count;
}

// ---- The frame the plugin should paint, drawn independently ---------------

void styleBackground(HDC dc, int width, int height) {
    RECT all{0, 0, width, height};
    ::MakeStyleGradient(dc, &all, ::GetSettingPtr(zembrit::kSettingStyleRecord), true);
}

void keyBackground(HDC dc, int width, int height) {
    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(kColorKey);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

// The flat row's points: a single-precision step along the span, on the centre line.
std::vector<POINT> flatTrace(int n, int width, int height, int margin, bool horizontal) {
    const int span = (horizontal ? width : height) - 2 * margin;
    const float step = static_cast<float>(span) / static_cast<float>(n - 1);
    const int centre = (horizontal ? height : width) >> 1;
    std::vector<POINT> points;
    for (int i = 0; i < n; ++i) {
        LONG along = margin + static_cast<LONG>(std::trunc(i * static_cast<double>(step)));
        points.push_back(horizontal ? POINT{along, centre} : POINT{centre, along});
    }
    return points;
}

void polyline(HDC dc, const std::vector<POINT>& points, int width, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, points[0].x, points[0].y, nullptr);
    for (size_t i = 1; i < points.size(); ++i) LineTo(dc, points[i].x, points[i].y);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void tab(HDC dc, const POINT (&corners)[3]) {
    HPEN pen = CreatePen(PS_SOLID, 1, kBorderColor);
    HBRUSH brush = CreateSolidBrush(kTabFill);
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
    Polygon(dc, corners, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// Border 1, margin 0, 32 points of 0; the default window is 100 x 25.
Picture expectedGradientFrame(bool horizontal = true, int width = 100, int height = 25) {
    return drawn(width, height, [&](HDC dc) {
        styleBackground(dc, width, height);
        polyline(dc, flatTrace(32, width, height, 1, horizontal), 1, kScopeColor);
    });
}

Picture expectedSeeThroughFrame() {
    return drawn(100, 25, [](HDC dc) {
        keyBackground(dc, 100, 25);
        polyline(dc, flatTrace(32, 100, 25, 1, true), 1, kScopeColor);
        tab(dc, {{99, 24}, {90, 24}, {99, 15}});
    });
}

class ScopeRender : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        gdiLedger = {};
    }

    void startWith(const std::string& config) {
        writeConfig(kQuiet + config);
        ASSERT_TRUE(load());
        ASSERT_TRUE(watchWindowCopies(plugin.module));
        ASSERT_EQ(start(), 0);
        window = scopeWindow();
        ASSERT_NE(window, nullptr);
        pump();
    }

    void countDrawingObjects() {
        ASSERT_TRUE(load());
        ASSERT_TRUE(zembrit_test::countDrawingObjects(plugin.module));
    }

    void repaint() { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

    void fill(HDC dc, COLORREF color) {
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }

    // Paints over the window from outside, as stale screen content would.
    void fillWindow(COLORREF color) {
        HDC dc = GetDC(window);
        fill(dc, color);
        ReleaseDC(window, dc);
        GdiFlush();
    }

    // Gives the window a content of our own, so that what a paint keeps of
    // the previous content can be told apart from what it draws. The plugin
    // keeps its own copy of what the window shows (the surface it copies onto
    // the window) and blends onto that, so the copy is covered too.
    void coverWindow(COLORREF color) {
        fillWindow(color);
        if (paintLedger.lastSource) fill(paintLedger.lastSource, color);
        ASSERT_EQ(windowPicture(window).at(50, 12), color);
    }

    HWND window = nullptr;
};

TEST_F(ScopeRender, HorizontalRowOfZerosIsALineOnTheCentreOverTheStyleBackground) {
    startWith("");
    repaint();
    Picture shown = windowPicture(window);
    EXPECT_EQ(differences(shown, expectedGradientFrame()), 0);
    for (int x = 1; x < 99; ++x) EXPECT_EQ(shown.at(x, 12), kScopeColor) << x;
    EXPECT_NE(shown.at(50, 11), kScopeColor);
    EXPECT_NE(shown.at(50, 13), kScopeColor);
    EXPECT_EQ(shown.at(0, 12), kBorderColor);
}

TEST_F(ScopeRender, AnyOtherTypeDrawsAVerticalLineOnTheCentre) {
    for (const char* type : {"v", "H"}) {
        SCOPED_TRACE(type);
        startWith(std::string("Zembrit.plugin.style.scopeType: ") + type + "\n");
        repaint();
        Picture shown = windowPicture(window);
        EXPECT_EQ(differences(shown, expectedGradientFrame(false)), 0);
        for (int y = 1; y < 23; ++y) EXPECT_EQ(shown.at(50, y), kScopeColor) << y;
        EXPECT_NE(shown.at(30, 12), kScopeColor);
        end();
    }
}

TEST_F(ScopeRender, SeeThroughBackgroundIsTheColourKeyWithTheTabInTheStyleColours) {
    startWith("Zembrit.plugin.transback.enabled: true\n");
    repaint();
    Picture shown = windowPicture(window);
    EXPECT_EQ(differences(shown, expectedSeeThroughFrame()), 0);
    EXPECT_EQ(shown.at(0, 0), kColorKey);
    EXPECT_EQ(shown.at(50, 20), kColorKey);
    EXPECT_EQ(shown.at(97, 22), kTabFill);
    EXPECT_EQ(shown.at(99, 20), kBorderColor);
    EXPECT_EQ(shown.at(50, 12), kScopeColor);
}

class DockedScopeRender : public ScopeRender {
protected:
    bool withDock() const override { return true; }
};

// Only a layered window makes the colour key see-through: docked, the scope
// shows the style's background (and no tab); floating again, the key.
TEST_F(DockedScopeRender, SeeThroughBackgroundOnlyWhereTheWindowIsLayered) {
    startWith("Zembrit.plugin.inSlit: true\nZembrit.plugin.transback.enabled: true\n");
    ASSERT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    repaint();
    const Picture docked = windowPicture(window), gradient = expectedGradientFrame();
    EXPECT_EQ(docked.count(kColorKey), 0);
    for (POINT p : {POINT{50, 20}, POINT{97, 22}}) EXPECT_EQ(docked.at(p.x, p.y), gradient.at(p.x, p.y)) << p.x;
    EXPECT_EQ(docked.at(50, 12), kScopeColor);
    standin::broadcast("@ZembritInternal SlitToggle");
    ASSERT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    repaint();
    EXPECT_EQ(windowPicture(window).at(50, 20), kColorKey);
}

// Which corner holds the tab: a pixel just inside each corner's triangle.
TEST_F(ScopeRender, TabFollowsItsPositionCode) {
    struct Case {
        const char* code;
        const char* corner;  // "" for no tab
    };
    const POINT inside[] = {{97, 22}, {97, 2}, {2, 22}, {2, 2}};
    const char* names[] = {"br", "tr", "bl", "tl"};
    for (Case c : {Case{"br", "br"}, Case{"tr", "tr"}, Case{"bl", "bl"}, Case{"tl", "tl"}, Case{"ht", ""},
                   Case{"TL", "br"}, Case{"xx", "br"}}) {
        SCOPED_TRACE(c.code);
        startWith(std::string("Zembrit.plugin.transback.enabled: true\nZembrit.plugin.style.tabPosition: ") + c.code +
                  "\n");
        repaint();
        Picture shown = windowPicture(window);
        for (int corner = 0; corner < 4; ++corner)
            EXPECT_EQ(shown.at(inside[corner].x, inside[corner].y),
                      std::string(c.corner) == names[corner] ? kTabFill : kColorKey)
                << names[corner];
        end();
    }
}

TEST_F(ScopeRender, NoTabWithoutSeeThroughBackground) {
    startWith("Zembrit.plugin.style.tabPosition: tl\n");
    repaint();
    EXPECT_EQ(differences(windowPicture(window), expectedGradientFrame()), 0);
}

TEST_F(ScopeRender, BlurAtFullStrengthShowsTheFrameAsACopyWould) {
    startWith("Zembrit.plugin.motionblur: true\nZembrit.plugin.motionbluralpha: 255\n");
    coverWindow(kGreen);
    repaint();
    EXPECT_EQ(differences(windowPicture(window), expectedGradientFrame()), 0);
}

TEST_F(ScopeRender, BlurAtZeroStrengthLeavesTheWindowUnchanged) {
    startWith("Zembrit.plugin.motionblur: true\nZembrit.plugin.motionbluralpha: 0\n");
    const Picture unpainted{100, 25, std::vector<uint32_t>(100 * 25, 0)};  // black, even after the first paint
    EXPECT_EQ(differences(windowPicture(window), unpainted), 0);
    coverWindow(kGreen);
    Picture before = windowPicture(window);
    for (int i = 0; i < 5; ++i) repaint();
    EXPECT_EQ(differences(windowPicture(window), before), 0);
}

TEST_F(ScopeRender, BlurMixesTheFrameWithWhatTheWindowShowed) {
    startWith("Zembrit.plugin.motionblur: true\nZembrit.plugin.motionbluralpha: 128\n");
    coverWindow(kGreen);
    repaint();
    Picture mixed = expectedGradientFrame();
    for (uint32_t& p : mixed.pixels) {
        uint32_t out = 0;
        const uint32_t green[] = {0, 200, 0};  // blue, green, red of kGreen
        for (int channel = 0; channel < 3; ++channel) {
            uint32_t back = (p >> (8 * channel)) & 255;
            out |= ((back * 128 + green[channel] * 127) / 255) << (8 * channel);
        }
        p = out;
    }
    // The blend may round instead of truncating.
    EXPECT_EQ(differences(windowPicture(window), mixed, 1), 0);
}

bool closeTo(COLORREF a, COLORREF b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) > tolerance)
            return false;
    return true;
}

// The beam's glow settles on the trace colour along a resting trace and
// leaves the style alone a few pixels away; see-through, each pixel is the
// colour key or the trace colour at full strength; turned off, the picture
// is the line's again.
TEST_F(ScopeRender, BeamGlowsAlongTheTraceAndOffIsTheLineAgain) {
    startWith("Zembrit.plugin.style.beam: true\n");
    for (int frame = 0; frame < 40; ++frame) repaint();
    const Picture glowing = windowPicture(window), line = expectedGradientFrame();
    for (int x = 4; x < 96; ++x) EXPECT_TRUE(closeTo(glowing.at(x, 12), kScopeColor, 8)) << x;
    for (int x = 0; x < 100; ++x) EXPECT_EQ(glowing.at(x, 8), line.at(x, 8)) << x;
    EXPECT_GT(differences(glowing, line), 0) << "the beam's soft edges";
    standin::broadcast("@ZembritInternal Beam");
    repaint();
    EXPECT_EQ(differences(windowPicture(window), line), 0);
    end();

    startWith("Zembrit.plugin.style.beam: true\nZembrit.plugin.transback.enabled: true\n");
    for (int frame = 0; frame < 40; ++frame) repaint();
    const Picture seeThrough = windowPicture(window);
    EXPECT_EQ(seeThrough.at(50, 9), kColorKey);
    for (int y = 9; y < 16; ++y)
        for (int x = 4; x < 86; ++x) {
            const COLORREF pixel = seeThrough.at(x, y);
            EXPECT_TRUE(pixel == kColorKey || closeTo(pixel, kScopeColor, 3)) << x << "," << y;
        }
}

TEST_F(ScopeRender, SeeThroughFramesAreCopiedEvenWithBlur) {
    startWith(
        "Zembrit.plugin.transback.enabled: true\nZembrit.plugin.motionblur: true\n"
        "Zembrit.plugin.motionbluralpha: 0\n");
    coverWindow(kGreen);
    repaint();
    EXPECT_EQ(differences(windowPicture(window), expectedSeeThroughFrame()), 0);
}

// Every change of the client size rebuilds the buffer, whatever made it: a
// direct resize (as the dock's) or a reconfigure with a new stored size. The
// whole window then shows the new frame, copied or blended.
TEST_F(ScopeRender, SizeChangeByAnyPathIsPaintedWhole) {
    for (const char* blur : {"false", "true"}) {
        SCOPED_TRACE(blur);
        const std::string config =
            std::string("Zembrit.plugin.motionbluralpha: 255\nZembrit.plugin.motionblur: ") + blur + "\n";
        startWith(config);
        SetWindowPos(window, nullptr, 0, 0, 160, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pump();
        coverWindow(kGreen);
        repaint();
        EXPECT_EQ(differences(windowPicture(window), expectedGradientFrame(true, 160, 60)), 0);

        writeConfig(kQuiet + config + "Zembrit.plugin.width: 200\nZembrit.plugin.height: 40\n");
        standin::reconfigure();
        pump();
        coverWindow(kGreen);
        repaint();
        EXPECT_EQ(differences(windowPicture(window), expectedGradientFrame(true, 200, 40)), 0);
        end();
    }
}

// Blur composes in the plugin's own copy of the window: no paint reads the
// window back, each paint copies onto it once, and a window shown again after
// hiding shows that copy, not a blend over whatever the screen held.
TEST_F(ScopeRender, BlurNeverReadsTheWindowAndShowsItsOwnCopyWhenUncovered) {
    startWith("Zembrit.plugin.motionblur: true\nZembrit.plugin.motionbluralpha: 255\n");
    standin::broadcast("@ZembritInternal SetBlurAlpha 0");  // the copy now keeps the first frame
    fillWindow(kGreen);
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    pump();
    const int copies = paintLedger.copiesOntoWindow;
    for (int i = 0; i < 5; ++i) repaint();
    EXPECT_EQ(paintLedger.copiesOntoWindow - copies, 5);
    EXPECT_EQ(paintLedger.windowReads, 0);
    EXPECT_EQ(differences(windowPicture(window), expectedGradientFrame()), 0);
}

// A size stored beyond the screen keeps the window, its buffers and the
// stored value within the virtual screen; the scope starts, paints and ends
// at once.
TEST_F(ScopeRender, OversizedStoredSizeIsKeptWithinTheVirtualScreen) {
    const LONG screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const LONG screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    countDrawingObjects();
    for (const char* size : {"12000", "2147483647"}) {
        SCOPED_TRACE(size);
        ULONGLONG took = millisecondsTaken([&] {
            startWith(std::string("Zembrit.plugin.width: ") + size + "\nZembrit.plugin.height: " + size + "\n");
        });
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_LE(rect.right - rect.left, screenWidth);
        EXPECT_LE(rect.bottom - rect.top, screenHeight);
        for (SIZE made : gdiLedger.bitmapSizes) EXPECT_TRUE(made.cx <= screenWidth && made.cy <= screenHeight);
        EXPECT_EQ(configValue("Zembrit.plugin.width:"), std::to_string(screenWidth));
        EXPECT_EQ(windowPicture(window).at(0, 0), kBorderColor);
        took += millisecondsTaken([&] { end(); });
        EXPECT_LT(took, kHangMs);
    }
}

bool refuseBitmaps = false;
decltype(&CreateCompatibleBitmap) passCompatibleBitmap;
decltype(&CreateDIBSection) passDIBSection;
HBITMAP WINAPI refusableCompatibleBitmap(HDC dc, int width, int height) {
    return refuseBitmaps ? nullptr : passCompatibleBitmap(dc, width, height);
}
HBITMAP WINAPI refusableDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                   DWORD offset) {
    return refuseBitmaps ? nullptr : passDIBSection(dc, info, usage, bits, section, offset);
}

// A buffer that cannot be made leaves nothing half made and a scope that
// paints nothing; the next size change makes it.
TEST_F(ScopeRender, BufferThatCannotBeMadeIsMadeAtTheNextSizeChange) {
    countDrawingObjects();
    passCompatibleBitmap = reinterpret_cast<decltype(passCompatibleBitmap)>(standin::patchImport(
        plugin.module, "gdi32.dll", "CreateCompatibleBitmap", reinterpret_cast<void*>(refusableCompatibleBitmap)));
    passDIBSection = reinterpret_cast<decltype(passDIBSection)>(standin::patchImport(
        plugin.module, "gdi32.dll", "CreateDIBSection", reinterpret_cast<void*>(refusableDIBSection)));
    refuseBitmaps = true;
    startWith("");
    fillWindow(kGreen);
    repaint();
    EXPECT_EQ(windowPicture(window).at(50, 12), kGreen);
    EXPECT_EQ(paintLedger.copiesOntoWindow, 0);
    EXPECT_TRUE(gdiLedger.live.empty());
    refuseBitmaps = false;
    SetWindowPos(window, nullptr, 0, 0, 120, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump();
    repaint();
    EXPECT_EQ(differences(windowPicture(window), expectedGradientFrame(true, 120, 30)), 0);
}

// Each sizing step stores the proposed size at once, but rebuilds the buffer
// at the size the window still has.
TEST_F(ScopeRender, SizingStepStoresTheProposalAndRebuildsAtTheCurrentSize) {
    countDrawingObjects();
    startWith("");
    ASSERT_EQ(gdiLedger.bitmapSizes.size(), 1u);
    const long liveBefore = static_cast<long>(gdiLedger.live.size());
    RECT window_rect;
    GetWindowRect(window, &window_rect);
    RECT proposed{window_rect.left, window_rect.top, window_rect.left + 150, window_rect.top + 40};
    SendMessageA(window, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(proposed.right - proposed.left, 150);
    ASSERT_EQ(gdiLedger.bitmapSizes.size(), 2u);
    EXPECT_EQ(gdiLedger.bitmapSizes[1].cx, 100);
    EXPECT_EQ(gdiLedger.bitmapSizes[1].cy, 25);
    EXPECT_EQ(static_cast<long>(gdiLedger.live.size()), liveBefore);
    EXPECT_EQ(configValue("Zembrit.plugin.height:"), "25");

    // Height 40 puts the centre line on y 20.
    repaint();
    Picture shown = windowPicture(window);
    EXPECT_EQ(shown.at(50, 20), kScopeColor);
    EXPECT_NE(shown.at(50, 12), kScopeColor);
}

TEST_F(ScopeRender, TenThousandPaintsLeaveNoDrawingObjectBehind) {
    countDrawingObjects();
    startWith("Zembrit.plugin.transback.enabled: true\n");
    // The back buffer: its memory DC and bitmap.
    ASSERT_EQ(gdiLedger.live.size(), 2u);
    const long createdAtStart = gdiLedger.created;
    const DWORD guiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 10000; ++i) repaint();
    // Each paint: background brush, trace pen, tab pen and brush.
    EXPECT_GE(gdiLedger.created - createdAtStart, 4 * 10000);
    EXPECT_EQ(gdiLedger.live.size(), 2u);
    EXPECT_EQ(gdiLedger.deletedWhileSelected, 0);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), guiObjects);
    end();
    EXPECT_TRUE(gdiLedger.live.empty());
    EXPECT_EQ(gdiLedger.deletedWhileSelected, 0);
}

TEST_F(ScopeRender, GradientPaintsLeaveNoDrawingObjectBehind) {
    countDrawingObjects();
    startWith("Zembrit.plugin.motionblur: true\n");
    const long createdAtStart = gdiLedger.created;
    for (int i = 0; i < 1000; ++i) repaint();
    EXPECT_GE(gdiLedger.created - createdAtStart, 1000);
    // What the window shows and the frame blended onto it: a memory DC and a bitmap each.
    EXPECT_EQ(gdiLedger.live.size(), 4u);
    end();
    EXPECT_TRUE(gdiLedger.live.empty());
    EXPECT_EQ(gdiLedger.deletedWhileSelected, 0);
}

TEST_F(ScopeRender, HugeScopeWidthMakesABoundedPenAndPaintsQuickly) {
    countDrawingObjects();
    startWith("Zembrit.plugin.style.scopeWidth: 10000000\n");
    gdiLedger.penWidths.clear();
    EXPECT_LT(millisecondsTaken([&] {
                  for (int i = 0; i < 20; ++i) repaint();
              }),
              kHangMs);
    ASSERT_EQ(gdiLedger.penWidths.size(), 20u);
    for (int width : gdiLedger.penWidths) EXPECT_EQ(width, 16);  // the widest line the settings hold
    // A 16-pixel line on the centre row (12) of the 25-pixel window.
    const Picture shown = windowPicture(window);
    for (int y : {6, 18}) EXPECT_EQ(shown.at(50, y), kScopeColor) << y;
    EXPECT_NE(shown.at(50, 1), kScopeColor);
}

// The tab's outline pen is bounded as the trace's is, and a border that puts
// the whole tab out of sight paints as quickly as any other.
TEST_F(ScopeRender, HugeBorderMakesABoundedTabPenAndPaintsQuickly) {
    countDrawingObjects();
    for (const char* border : {"700", "2147483647"}) {
        SCOPED_TRACE(border);
        std::string look = readFile(programDirectory() + "default.style");
        look.replace(look.find("border.width: 1"), 15, std::string("border.width: ") + border);
        writeShellFile("default.style", look);
        standin::loadStyle();
        gdiLedger.penWidths.clear();
        startWith("Zembrit.plugin.transback.enabled: true\n");
        EXPECT_LT(millisecondsTaken([&] {
                      for (int i = 0; i < 20; ++i) repaint();
                  }),
                  kHangMs);
        ASSERT_FALSE(gdiLedger.penWidths.empty());
        for (int width : gdiLedger.penWidths) EXPECT_LE(width, 300);
        // At 700 the tab still shows, outlined with the bounded pen; beyond, no tab is drawn.
        const bool boundedTabPen = std::count(gdiLedger.penWidths.begin(), gdiLedger.penWidths.end(), 300) > 0;
        EXPECT_EQ(boundedTabPen, std::string(border) == "700");
        end();
    }
}

TEST_F(ScopeRender, OrdinaryScopeWidthIsUsedAsStored) {
    countDrawingObjects();
    startWith("Zembrit.plugin.style.scopeWidth: 3\n");
    gdiLedger.penWidths.clear();
    repaint();
    ASSERT_EQ(gdiLedger.penWidths.size(), 1u);
    EXPECT_EQ(gdiLedger.penWidths[0], 3);
    Picture shown = windowPicture(window);
    for (int y : {11, 12, 13}) EXPECT_EQ(shown.at(50, y), kScopeColor) << y;
    EXPECT_NE(shown.at(50, 9), kScopeColor);
}

}  // namespace
}  // namespace zembrit_test
