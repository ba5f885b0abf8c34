// The spectrum view and the level meter, read back from the painted window
// while the bench plays its tone into wave-in: 440 Hz with a quieter,
// swelling 660 Hz above it, at 16 kHz, its loudest sample 15210.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/waiting.h"
#include "tests/integration/support/window_picture.h"

#include <cmath>
#include <string>

namespace zembrit_test {
namespace {

constexpr COLORREF kToolbarText = RGB(0xe8, 0xf0, 0xff);  // the bench style's trace colour
constexpr char kLargeWindow[] = "Zembrit.plugin.width: 300\nZembrit.plugin.height: 200\n";

// Where a frequency lies across the spectrum, as a share of its length:
// bands run on a log scale from 20 Hz to the Nyquist frequency (8 kHz).
double placeOf(double hertz) { return std::log(hertz / 20.0) / std::log(8000.0 / 20.0); }

// The share of the window's width left of the column whose trace-coloured
// pixels reach highest; -1 with none.
double tallestColumn(const Picture& shown) {
    int best = -1, bestTop = shown.height;
    for (int x = 0; x < shown.width; ++x)
        for (int y = 0; y < bestTop; ++y)
            if (shown.at(x, y) == kToolbarText) {
                best = x, bestTop = y;
                break;
            }
    return best < 0 ? -1.0 : (best + 0.5) / shown.width;
}

// The share of the width the lowest trace-coloured row reaches: the first
// channel's meter track, whose held mark ends furthest along.
double meterReach(const Picture& shown) {
    for (int y = shown.height - 1; y >= 0; --y)
        for (int x = shown.width - 1; x >= 0; --x)
            if (shown.at(x, y) == kToolbarText) return (x + 1.0) / shown.width;
    return -1.0;
}

class SpectrumView : public ShellFixture {
protected:
    // Starts with the lines in a large window; true once five pictures in a
    // row, a frame or more apart, measure within 0.025 of wanted: a
    // free-running trace may pass once by chance.
    bool showsSteadily(const char* lines, double (*measure)(const Picture&), double wanted) {
        writeConfig(lines + std::string(kLargeWindow));
        EXPECT_EQ(start(), 0);
        int inARow = 0;
        return pumpUntil([&] {
            seen = measure(windowPicture(scopeWindow()));
            inARow = std::fabs(seen - wanted) < 0.025 ? inARow + 1 : 0;
            pump(40);
            return inARow >= 5;
        });
    }
    double seen = -1.0;
};

// The margins shift the bands by a pixel or two; the 660 Hz bars stand 0.07
// of the width further along.
TEST_F(SpectrumView, TheTonesTallestBarStandsAtItsFrequency) {
    const double wanted = placeOf(440.0);
    EXPECT_TRUE(showsSteadily("Zembrit.plugin.view: spectrum\n", tallestColumn, wanted))
        << "the tallest bar stands at " << seen << " of the width, 440 Hz at " << wanted;
}

// The held mark shows the loudest sample, 15210 of 32768: -6.67 dBFS, 0.889
// of the track from -60 dBFS. The margins take about a hundredth off it.
TEST_F(SpectrumView, TheMetersHeldMarkShowsTheTonesLoudestSample) {
    const double wanted = (60.0 + 20.0 * std::log10(15210.0 / 32768.0)) / 60.0;
    EXPECT_TRUE(showsSteadily("Zembrit.plugin.meter: true\n", meterReach, wanted))
        << "the meter reaches " << seen << " of the width, the tone's peak " << wanted;
}

}  // namespace
}  // namespace zembrit_test
