// The sample configuration shipped to users must state the plugin's real
// defaults for every key, so that it never teaches a wrong value.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/config_text.h"
#include "settings/keys.h"

namespace zembrit {
namespace {

std::string sampleText() {
    std::ifstream in(ZEMBRIT_SOURCE_DIR "/release/Zembrit.rc");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The fallback as the shell would write it into the file.
std::string writtenFallback(const SettingKey& key) {
    switch (key.stored) {
    case StoredAs::Bool: return key.fallback.flag ? "true" : "false";
    case StoredAs::Int: return std::to_string(key.fallback.number);
    case StoredAs::Text: return key.fallback.text;
    }
    return {};
}

TEST(SampleConfiguration, StatesEveryKeyWithItsDefault) {
    const std::string text = sampleText();
    ASSERT_FALSE(text.empty());
    for (const SettingKey& key : kSettingKeys) {
        auto stated = shellfile::lookupValue(text, key.text);
        ASSERT_TRUE(stated.has_value()) << key.text;
        EXPECT_EQ(*stated, writtenFallback(key)) << key.text;
    }
}

}  // namespace
}  // namespace zembrit
