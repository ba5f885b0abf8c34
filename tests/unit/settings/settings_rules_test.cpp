#include "settings/settings_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "settings/style_presets.h"

namespace zembrit {
namespace {

TEST(SettingsRules, BufferPointsAreBroughtIntoTraceRange) {
    const std::pair<int32_t, int32_t> cases[] = {{5, 10}, {500, 100}, {100, 100},    {10, 10},
                                                 {9, 10}, {32, 32},   {INT_MIN, 10}, {INT_MAX, 100}};
    for (const auto& [stored, expected] : cases) EXPECT_EQ(clampBufferPoints(stored), expected) << stored;
}

TEST(SettingsRules, FrameIntervalUsesIntegerDivisionAndNeverDividesByZero) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 1000}, {-3, 1000}, {INT_MIN, 1000}, {3, 333},
                                                 {25, 40},  {39, 25},   {1000, 1},       {2000, 0}};
    for (const auto& [fps, expected] : cases) EXPECT_EQ(frameIntervalFromFps(fps), expected) << fps;
}

TEST(SettingsRules, AlphaIsHeldWithinZeroTo255) {
    EXPECT_EQ(clampAlpha(300), 255);
    EXPECT_EQ(clampAlpha(120), 120);
    EXPECT_EQ(clampAlpha(256), 255);
    EXPECT_EQ(clampAlpha(-1), 0);
}

TEST(SettingsRules, WindowExtentStaysBetweenSixteenAndTheScreen) {
    const std::tuple<int32_t, int32_t, int32_t> cases[] = {
        {100, 1280, 100},    {12000, 1280, 1280}, {INT_MAX, 1024, 1024}, {12, 1280, 16},
        {INT_MIN, 1280, 16}, {12000, 0, 12000},   {12000, -1, 12000},    {40, 10, 16}};
    for (const auto& [extent, screen, expected] : cases)
        EXPECT_EQ(windowExtentWithin(extent, screen), expected) << extent << " on " << screen;
}

TEST(SettingsRules, CopyBoundedKeepsLeadingCharactersWithinField) {
    const std::string huge(10000, 'u');
    char url[kUpdateUrlCapacity];
    copyBounded(url, sizeof url, huge.c_str());
    EXPECT_EQ(std::string(url), huge.substr(0, kUpdateUrlCapacity - 1));

    char tab[kTabPositionCapacity];
    copyBounded(tab, sizeof tab, "bottom");
    EXPECT_STREQ(tab, "bo");
    copyBounded(tab, sizeof tab, "tl");
    EXPECT_STREQ(tab, "tl");
    copyBounded(tab, sizeof tab, nullptr);
    EXPECT_STREQ(tab, "");

    char single[1] = {'x'};
    copyBounded(single, sizeof single, "abc");
    EXPECT_EQ(single[0], '\0');
}

TEST(SettingsRules, ColorKeyGetsColonEvenWhenCut) {
    char key[kColorKeyCapacity];
    setColorKey(key, "menu.frame.color");
    EXPECT_STREQ(key, "menu.frame.color:");
    setColorKey(key, "");
    EXPECT_STREQ(key, ":");

    const std::string fits(kColorKeyCapacity - 2, 'k');
    setColorKey(key, fits.c_str());
    EXPECT_EQ(std::string(key), fits + ":");

    const std::string huge(10000, 'k');
    setColorKey(key, huge.c_str());
    EXPECT_EQ(std::string(key), fits + ":");
}

TEST(SettingsRules, ScopeTypeIsFirstCharacter) {
    EXPECT_EQ(scopeTypeFromText("v"), 'v');
    EXPECT_EQ(scopeTypeFromText("horizontal"), 'h');
    EXPECT_EQ(scopeTypeFromText("H"), 'H');
    EXPECT_EQ(scopeTypeFromText(""), '\0');
}

// A configuration file as key text to stored text; it records every key asked.
class FakeFile final : public SettingsReader {
public:
    std::map<std::string, std::string> lines;
    mutable std::vector<std::string> asked;

    bool readBool(const char* key, bool fallback) const override {
        const std::string* line = find(key);
        return line ? *line == "true" : fallback;
    }
    int32_t readInt(const char* key, int32_t fallback) const override {
        const std::string* line = find(key);
        return line ? std::stoi(*line) : fallback;
    }
    const char* readText(const char* key, const char* fallback) const override {
        const std::string* line = find(key);
        return line ? line->c_str() : fallback;
    }

private:
    const std::string* find(const char* key) const {
        asked.push_back(key);
        const auto line = lines.find(key);
        return line == lines.end() ? nullptr : &line->second;
    }
};

TEST(SettingsReading, EmptyFileGivesTheDefaults) {
    ScopeSettings read;
    read.x = 77;
    read.scopeColorKey[0] = 'Z';
    FakeFile file;
    readEachSetting(read, file, ScreenExtent{1280, 1024});
    EXPECT_EQ(read.x, 10);
    EXPECT_EQ(read.motionBlurAlpha, 120);
    EXPECT_EQ(read.transparencyAlpha, 60);
    EXPECT_EQ(read.width, 100);
    EXPECT_EQ(read.height, 25);
    EXPECT_EQ(read.bufferPoints, 32);
    EXPECT_EQ(read.frameIntervalMs, 40);
    EXPECT_STREQ(read.scopeColorKey, "toolbar.textColor:");
    EXPECT_STREQ(read.tabPosition, "br");
    EXPECT_EQ(read.scopeType, 'h');
    EXPECT_TRUE(read.alwaysOnTop && read.snapWindow && read.toggleWithPlugins && read.startWaveMonitorOnStartUp &&
                read.showBorder);
    EXPECT_FALSE(read.inSlit || read.motionBlur || read.transparencyEnabled || read.transbackEnabled);
    EXPECT_EQ(file.asked.size(), std::size(kSettingKeys)) << "every key is asked once";
}

TEST(SettingsReading, EachStoredValueGoesThroughItsRule) {
    FakeFile file;
    file.lines = {{keys::width.text, "5000"},          {keys::height.text, "3"},
                  {keys::bufferPoints.text, "500"},    {keys::framesPerSecond.text, "0"},
                  {keys::motionBlurAlpha.text, "300"}, {keys::scopeColorKey.text, "menu.frame.color"},
                  {keys::scopeType.text, "vertical"},  {keys::tabPosition.text, "tlx"},
                  {keys::inSlit.text, "true"},         {keys::sampleKHz.text, "44"}};
    ScopeSettings read;
    readEachSetting(read, file, ScreenExtent{1280, 1024});
    EXPECT_EQ(read.width, 1280);
    EXPECT_EQ(read.height, 16);
    EXPECT_EQ(read.bufferPoints, 100);
    EXPECT_EQ(read.frameIntervalMs, 1000);
    EXPECT_EQ(read.motionBlurAlpha, 255);
    EXPECT_STREQ(read.scopeColorKey, "menu.frame.color:");
    EXPECT_EQ(read.scopeType, 'v');
    EXPECT_STREQ(read.tabPosition, "tl");
    EXPECT_TRUE(read.inSlit);
    EXPECT_EQ(read.sampleKHz, 44);
}

// The file's writes in order, each as "key value".
class FakeSink final : public SettingsSink {
public:
    std::vector<std::string> writes;

    void writeBool(const char* key, bool value) override { add(key, value ? "true" : "false"); }
    void writeInt(const char* key, int32_t value) override { add(key, std::to_string(value)); }
    void writeText(const char* key, const char* value) override { add(key, value); }

private:
    void add(const char* key, const std::string& value) { writes.push_back(std::string(key) + " " + value); }
};

// Every number is held within its range, so that no stored value wraps
// into another meaning: an alpha of 256 is solid, not invisible.
TEST(SettingsReading, NumbersOutsideTheirRangeAreHeldAtItsNearerEnd) {
    FakeFile file;
    file.lines = {{keys::motionBlurAlpha.text, "256"}, {keys::transparencyAlpha.text, "256"}};
    ScopeSettings read;
    readEachSetting(read, file, ScreenExtent{1280, 1024});
    EXPECT_EQ(read.motionBlurAlpha, 255);
    EXPECT_EQ(read.transparencyAlpha, 255);
    const std::tuple<IntKey, int32_t, int32_t> cases[] = {{keys::transparencyAlpha, -185, 0},
                                                          {keys::transparencyAlpha, 300, 255},
                                                          {keys::scopeWidth, 400, 16},
                                                          {keys::scopeWidth, 0, 1},
                                                          {keys::scopeWidth, 16, 16}};
    for (const auto& [key, stored, held] : cases) {
        ScopeSettings record;
        FakeSink file;
        changeSetting(record, key, stored, ScreenExtent{1280, 1024}, &file);
        EXPECT_EQ(file.writes, std::vector<std::string>{std::string(key.text) + " " + std::to_string(held)})
            << key.text << " " << stored;
    }
}

TEST(SettingsChange, EachValueGoesThroughItsRuleAndTheFileGetsWhatItHolds) {
    const ScreenExtent screen{1280, 1024};
    const std::string longName(300, 'n');
    ScopeSettings record;
    FakeSink file;
    changeSetting(record, keys::bufferPoints, 500, screen, &file);
    changeSetting(record, keys::framesPerSecond, 0, screen, &file);
    changeSetting(record, keys::framesPerSecond, 30, screen, &file);
    changeSetting(record, keys::motionBlurAlpha, 300, screen, &file);
    changeSetting(record, keys::width, 5000, screen, &file);
    changeSetting(record, keys::delay, 9000, screen, &file);
    changeSetting(record, keys::scopeColorKey, "menu.frame.color", screen, &file);
    changeSetting(record, keys::scopeType, "v", screen, &file);
    changeSetting(record, keys::trigger, "RISING", screen, &file);
    changeSetting(record, keys::channels, "xy", screen, &file);
    changeSetting(record, keys::waveSource, " Output ", screen, &file);
    changeSetting(record, keys::waveDevice, longName.c_str(), screen, &file);
    changeSetting(record, keys::clickThrough, true, screen, &file);

    EXPECT_EQ(record.bufferPoints, 100);
    EXPECT_EQ(record.frameIntervalMs, 33);
    EXPECT_EQ(record.motionBlurAlpha, 255);
    EXPECT_EQ(record.width, 1280);
    EXPECT_EQ(record.delayMs, kMostDelayMs);
    EXPECT_STREQ(record.scopeColorKey, "menu.frame.color:");
    EXPECT_EQ(record.scopeType, 'v');
    EXPECT_TRUE(record.trigger && record.clickThrough);
    EXPECT_EQ(record.channels, ChannelMode::xy);
    EXPECT_EQ(record.source, CaptureSource::output);
    const std::string heldName = longName.substr(0, kDeviceNameCapacity - 1);
    EXPECT_EQ(record.deviceName, heldName);
    const std::vector<std::string> expected = {"Zembrit.plugin.wave.buffsize: 100",
                                               "Zembrit.plugin.wave.fps: 1",
                                               "Zembrit.plugin.wave.fps: 30",
                                               "Zembrit.plugin.motionbluralpha: 255",
                                               "Zembrit.plugin.width: 1280",
                                               "Zembrit.plugin.delay: 2000",
                                               "Zembrit.plugin.style.ScopeColor: menu.frame.color",
                                               "Zembrit.plugin.style.scopeType: v",
                                               "Zembrit.plugin.trigger: rising",
                                               "Zembrit.plugin.channels: xy",
                                               "Zembrit.plugin.wave.source: output",
                                               "Zembrit.plugin.wave.device: " + heldName,
                                               "Zembrit.plugin.clickThrough: true"};
    EXPECT_EQ(file.writes, expected);
}

// The file gets what the picture will use; a band count below 1 stays 0,
// for the window's length to choose.
TEST(SettingsChange, ViewKeysHoldTheirRangesAndBandsFollowTheWindowWhenUnset) {
    const std::tuple<IntKey, int32_t, int32_t> cases[] = {
        {keys::spectrumBands, -3, 0},          {keys::spectrumBands, 1, 4},       {keys::spectrumBands, 300, 256},
        {keys::spectrumFloor, 0, -20},         {keys::spectrumFloor, -121, -120}, {keys::spectrumPeakHold, -1, 0},
        {keys::spectrumPeakHold, 10001, 10000}};
    ScopeSettings record;
    FakeSink file;
    std::vector<std::string> expected;
    for (const auto& [key, stored, held] : cases) {
        changeSetting(record, key, stored, ScreenExtent{1280, 1024}, &file);
        expected.push_back(std::string(key.text) + " " + std::to_string(held));
    }
    changeSetting(record, keys::view, "SPECTRUM", ScreenExtent{1280, 1024}, &file);
    EXPECT_EQ(record.view, PictureView::spectrum);
    expected.push_back("Zembrit.plugin.view: spectrum");
    EXPECT_EQ(file.writes, expected);
    EXPECT_EQ(spectrumBandsFor(0, 403), 100);
    EXPECT_EQ(spectrumBandsFor(0, 10), kMinBands);
    EXPECT_EQ(spectrumBandsFor(0, 4000), kMaxBands);
    EXPECT_EQ(spectrumBandsFor(300, 40), kMaxBands);
    EXPECT_EQ(spectrumBandsFor(32, 4000), 32);
}

TEST(SettingsChange, WithoutAFileOnlyTheRecordChangesAndFlagsReadTheirOwnField) {
    ScopeSettings record;
    changeSetting(record, keys::height, 3, ScreenExtent{1280, 1024}, nullptr);
    changeSetting(record, keys::inSlit, true, ScreenExtent{1280, 1024}, nullptr);
    EXPECT_EQ(record.height, kMinWindowExtent);
    EXPECT_TRUE(flagOf(record, keys::inSlit));
    EXPECT_FALSE(flagOf(record, keys::clickThrough));
    EXPECT_TRUE(flagOf(record, keys::alwaysOnTop));
}

TEST(StylePresets, FindsOnlyNumbersOneToFour) {
    EXPECT_EQ(findStylePreset(0), nullptr);
    EXPECT_EQ(findStylePreset(5), nullptr);
    ASSERT_NE(findStylePreset(3), nullptr);
    EXPECT_STREQ(findStylePreset(3)->heldKey, "menu.frame.color:");
}

// Files that exist, and every path asked about, in order.
struct FakeDisk {
    std::set<std::string> files;
    std::vector<std::string> asked;
};

bool fakeExists(const char* path, void* context) {
    auto& disk = *static_cast<FakeDisk*>(context);
    disk.asked.emplace_back(path);
    return disk.files.count(path) != 0;
}

std::string find(FakeDisk& disk, const char* modulePath, const std::string& shellDir) {
    char out[kConfigPathCapacity];
    std::memset(out, '?', sizeof out);
    findConfigPath(modulePath, shellDir.c_str(), fakeExists, &disk, out);
    return out;
}

std::string find(FakeDisk& disk, const std::string& modulePath, const std::string& shellDir) {
    return find(disk, modulePath.c_str(), shellDir);
}

const char* const kModule = "C:\\Plug\\Zembrit.dll";
const char* const kShell = "C:\\Norvane\\";

TEST(ConfigPathSearch, NoFileFallsBackToPluginDirectoryAfterAskingInOrder) {
    FakeDisk disk;
    EXPECT_EQ(find(disk, kModule, kShell), "C:\\Plug\\Zembrit.rc");
    const std::vector<std::string> order = {"C:\\Plug\\Zembritrc", "C:\\Plug\\Zembrit.rc", "C:\\Norvane\\Zembritrc",
                                            "C:\\Norvane\\Zembrit.rc"};
    EXPECT_EQ(disk.asked, order);
}

TEST(ConfigPathSearch, FirstExistingCandidateWins) {
    FakeDisk both{{"C:\\Plug\\Zembritrc", "C:\\Plug\\Zembrit.rc"}, {}};
    EXPECT_EQ(find(both, kModule, kShell), "C:\\Plug\\Zembritrc");
    EXPECT_EQ(both.asked.size(), 1u);

    FakeDisk split{{"C:\\Plug\\Zembrit.rc", "C:\\Norvane\\Zembritrc"}, {}};
    EXPECT_EQ(find(split, kModule, kShell), "C:\\Plug\\Zembrit.rc");

    FakeDisk shellOnly{{"C:\\Norvane\\Zembrit.rc"}, {}};
    EXPECT_EQ(find(shellOnly, kModule, kShell), "C:\\Norvane\\Zembrit.rc");
}

TEST(ConfigPathSearch, PathsWithoutBackslashLeaveBareNames) {
    FakeDisk disk;
    EXPECT_EQ(find(disk, "Zembrit.dll", "C:\\Norvane"), "Zembrit.rc");
    const std::vector<std::string> order = {"Zembritrc", "Zembrit.rc", "C:\\Zembritrc", "C:\\Zembrit.rc"};
    EXPECT_EQ(disk.asked, order);
}

TEST(ConfigPathSearch, OverlongCandidatesAreSkippedNeverCut) {
    // 250 characters of directory: "Zembritrc" makes 259 and fits, "Zembrit.rc" makes 260.
    const std::string longDir = "C:\\" + std::string(246, 'd') + "\\";
    ASSERT_EQ(longDir.size(), 250u);
    FakeDisk disk;
    EXPECT_EQ(find(disk, longDir + "Zembrit.dll", kShell), "");
    const std::vector<std::string> order = {longDir + "Zembritrc", "C:\\Norvane\\Zembritrc", "C:\\Norvane\\Zembrit.rc"};
    EXPECT_EQ(disk.asked, order);

    FakeDisk atLimit{{longDir + "Zembritrc"}, {}};
    EXPECT_EQ(find(atLimit, longDir + "Zembrit.dll", kShell), longDir + "Zembritrc");

    const std::string hugeDir = std::string(10000, 'h') + "\\";
    FakeDisk shellTooLong{{}, {}};
    EXPECT_EQ(find(shellTooLong, kModule, hugeDir), "C:\\Plug\\Zembrit.rc");
    EXPECT_EQ(shellTooLong.asked.size(), 2u);
}

TEST(ConfigPathSearch, UnknownPluginPathSearchesTheShellOnlyAndNeverFallsBackToABareName) {
    FakeDisk disk;
    EXPECT_EQ(find(disk, nullptr, kShell), "");
    const std::vector<std::string> order = {"C:\\Norvane\\Zembritrc", "C:\\Norvane\\Zembrit.rc"};
    EXPECT_EQ(disk.asked, order);

    FakeDisk shellFile{{"C:\\Norvane\\Zembrit.rc"}, {}};
    EXPECT_EQ(find(shellFile, nullptr, kShell), "C:\\Norvane\\Zembrit.rc");
}

}  // namespace
}  // namespace zembrit
