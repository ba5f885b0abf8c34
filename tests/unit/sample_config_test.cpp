// The sample configuration shipped to users must state the plugin's real
// defaults for every key, so that it never teaches a wrong value.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/config_text.h"
#include "settings/keys.h"
#include "settings/scope_settings.h"

namespace zembrit {
namespace {

std::string sampleText() {
    std::ifstream in(ZEMBRIT_SOURCE_DIR "/release/Zembrit.rc");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SampleConfiguration, StatesEveryKeyWithItsDefault) {
    const std::string text = sampleText();
    ASSERT_FALSE(text.empty());
    const ScopeSettings d;
    auto b = [](bool value) { return std::string(value ? "true" : "false"); };
    std::string colorKey = d.scopeColorKey;
    colorKey.pop_back();  // held with a colon, written without
    const std::pair<const char*, std::string> expected[] = {
        {keys::x, std::to_string(d.x)},
        {keys::y, std::to_string(d.y)},
        {keys::inSlit, b(d.inSlit)},
        {keys::motionBlur, b(d.motionBlur)},
        {keys::motionBlurAlpha, std::to_string(d.motionBlurAlpha)},
        {keys::transparencyEnabled, b(d.transparencyEnabled)},
        {keys::transbackEnabled, b(d.transbackEnabled)},
        {keys::transparencyAlpha, std::to_string(d.transparencyAlpha)},
        {keys::alwaysOnTop, b(d.alwaysOnTop)},
        {keys::snapWindow, b(d.snapWindow)},
        {keys::toggleWithPlugins, b(d.toggleWithPlugins)},
        {keys::updateUrl, d.updateUrl},
        {keys::width, std::to_string(d.width)},
        {keys::height, std::to_string(d.height)},
        {keys::startWaveMonitorOnStartUp, b(d.startWaveMonitorOnStartUp)},
        {keys::bufferPoints, std::to_string(d.bufferPoints)},
        {keys::framesPerSecond, std::to_string(1000 / d.frameIntervalMs)},
        {keys::sampleKHz, std::to_string(d.sampleKHz)},
        {keys::sampleBits, std::to_string(d.sampleBits)},
        {keys::waveSource, captureSourceWord(d.source)},
        {keys::waveDevice, d.deviceName},
        {keys::scopeWidth, std::to_string(d.scopeWidth)},
        {keys::scopeColorKey, colorKey},
        {keys::tabPosition, d.tabPosition},
        {keys::scopeType, std::string(1, d.scopeType)},
        {keys::showBorder, b(d.showBorder)},
    };
    for (const auto& [key, value] : expected) {
        auto stated = shellfile::lookupValue(text, key);
        ASSERT_TRUE(stated.has_value()) << key;
        EXPECT_EQ(*stated, value) << key;
    }
}

}  // namespace
}  // namespace zembrit
