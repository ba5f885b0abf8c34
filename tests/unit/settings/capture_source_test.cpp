#include "settings/capture_source.h"

#include <gtest/gtest.h>

namespace zembrit {
namespace {

TEST(CaptureSource, WordsAreMatchedWholeIgnoringCase) {
    EXPECT_EQ(captureSourceFromText(" Output "), CaptureSource::output);
    EXPECT_EQ(captureSourceFromText("INPUT"), CaptureSource::input);
    EXPECT_EQ(captureSourceFromText("wavein"), CaptureSource::wavein);
    EXPECT_FALSE(captureSourceFromText("outputs"));
    EXPECT_FALSE(captureSourceFromText(""));
    EXPECT_FALSE(captureSourceFromText(nullptr));
}

}  // namespace
}  // namespace zembrit
