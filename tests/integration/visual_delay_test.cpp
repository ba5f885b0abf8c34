// The visual delay holds the trace back by the stored milliseconds; at 0 the
// trace shows what was captured as soon as it is reduced.
#include "tests/integration/support/paint_probe.h"
#include "tests/integration/support/shell_fixture.h"

#include <string>

namespace zembrit_test {
namespace {

class VisualDelay : public ShellFixture {
protected:
    // Rows of trace showing this long after start, with the bench's tone.
    int rowsAfter(DWORD milliseconds) {
        pump(milliseconds - shown_);
        shown_ = milliseconds;
        return traceRows(scopeWindow());
    }
    void startWithDelay(int delayMs) {
        writeConfig("Zembrit.plugin.delay: " + std::to_string(delayMs) + "\n");
        ASSERT_EQ(start(), 0);
        shown_ = 0;
    }
    DWORD shown_ = 0;
};

TEST_F(VisualDelay, ALongDelayKeepsTheTraceFlatUntilItHasPassed) {
    startWithDelay(1500);
    EXPECT_EQ(rowsAfter(700), 1) << "the tone shows before its delay";
    EXPECT_GE(rowsAfter(2800), 4) << "the tone never shows";
}

TEST_F(VisualDelay, WithoutADelayTheToneShowsAtOnce) {
    startWithDelay(0);
    EXPECT_GE(rowsAfter(700), 4);
}

}  // namespace
}  // namespace zembrit_test
