// The visual delay holds the trace back by the stored milliseconds; at 0 the
// trace shows what was captured as soon as it is reduced.
#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/paint_probe.h"
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/waiting.h"

#include <string>

namespace zembrit_test {
namespace {

class VisualDelay : public ShellFixture {
protected:
    void startWithDelay(int delayMs) {
        writeConfig("Zembrit.plugin.delay: " + std::to_string(delayMs) + "\n");
        ASSERT_EQ(start(), 0);
        started_ = GetTickCount64();
    }
    ULONGLONG sinceStart() const { return GetTickCount64() - started_; }
    // How long after start the bench's tone showed; waits until `by` at most.
    ULONGLONG toneShownAfter(ULONGLONG by) {
        pumpUntil([this] { return traceRows(scopeWindow()) >= 4; }, static_cast<DWORD>(by - sinceStart()));
        return sinceStart();
    }
    ULONGLONG started_ = 0;
};

// A loaded machine may start the device late, so the tone is waited for
// (and the time it took reported) rather than looked for at one instant;
// a delay never shows it early.
TEST_F(VisualDelay, ALongDelayKeepsTheTraceFlatUntilItHasPassed) {
    startWithDelay(1500);
    pump(700);
    EXPECT_EQ(traceRows(scopeWindow()), 1) << "the tone shows before its delay";
    const ULONGLONG shown = toneShownAfter(4000);
    reportFigures("delay 1500: the tone showed " + std::to_string(shown) + " ms after start");
    EXPECT_GE(shown, 1500u);
    EXPECT_LT(shown, 4000u) << "the tone never shows";
}

TEST_F(VisualDelay, WithoutADelayTheToneShowsAtOnce) {
    startWithDelay(0);
    const ULONGLONG shown = toneShownAfter(1500);
    reportFigures("delay 0: the tone showed " + std::to_string(shown) + " ms after start");
    EXPECT_LT(shown, 1500u);
}

}  // namespace
}  // namespace zembrit_test
