#include "commands/source_label.h"

#include <gtest/gtest.h>

#include <string>

namespace zembrit {
namespace {

std::string shown(const char* text) { return text ? text : "(nothing)"; }

// A failure is said at once; once said, whatever runs or stops next sets
// the label right, exactly once; without a failure nothing is said.
TEST(SourceLabel, AFailureIsSetRightByWhateverFollowsItAndOnlyThen) {
    SourceLabel label;
    EXPECT_EQ(shown(label.capturing()), "(nothing)");
    EXPECT_EQ(shown(label.stopped()), "(nothing)");
    EXPECT_EQ(shown(label.failing()), SourceLabel::kFailing);
    EXPECT_EQ(shown(label.failing()), SourceLabel::kFailing);
    EXPECT_EQ(shown(label.capturing()), SourceLabel::kCapturing);
    EXPECT_EQ(shown(label.capturing()), "(nothing)");
    label.failing();
    EXPECT_EQ(shown(label.stopped()), SourceLabel::kStopped);
    EXPECT_EQ(shown(label.capturing()), "(nothing)");
    label.failing();
    EXPECT_EQ(shown(label.notAnswering()), SourceLabel::kNotAnswering);
    EXPECT_EQ(shown(label.stopped()), "(nothing)");
}

}  // namespace
}  // namespace zembrit
