// Where the configuration file is found, and what the plugin makes of what
// it holds, with real files in real folders.
#include <cstring>
#include <filesystem>
#include <string>

#include "shell/shell_api.h"
#include "tests/integration/support/shell_fixture.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;

class Settings : public ShellFixture {
protected:
    RECT windowRect() {
        RECT rect{};
        GetWindowRect(scopeWindow(), &rect);
        return rect;
    }
    // The path every read of the last start went to.
    std::string pathInUse() const { return shellRecord.settingsReads.empty() ? "" : shellRecord.settingsReads.back(); }
};

TEST_F(Settings, WithoutAnyFileDefaultsApplyAndThePluginFolderIsUsed) {
    ASSERT_EQ(start(), 0);
    EXPECT_EQ(pathInUse(), pluginDir + "Zembrit.rc");
    RECT rect = windowRect();
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right - rect.left, 100);
    EXPECT_EQ(rect.bottom - rect.top, 25);
}

TEST_F(Settings, ZembritrcWinsOverZembritRc) {
    writePluginFile("Zembritrc", std::string(kQuiet) + "Zembrit.plugin.x: 111\n");
    writePluginFile("Zembrit.rc", std::string(kQuiet) + "Zembrit.plugin.x: 222\n");
    ASSERT_EQ(start(), 0);
    EXPECT_EQ(pathInUse(), pluginDir + "Zembritrc");
    EXPECT_EQ(windowRect().left, 111);
}

TEST_F(Settings, TheShellFolderIsTriedAfterThePluginFolder) {
    writeShellFile("Zembrit.rc", std::string(kQuiet) + "Zembrit.plugin.y: 333\n");
    ASSERT_EQ(start(), 0);
    EXPECT_EQ(pathInUse(), shellDir + "Zembrit.rc");
    EXPECT_EQ(windowRect().top, 333);
}

TEST_F(Settings, ThePluginFolderWinsOverTheShellFolder) {
    writeShellFile("Zembritrc", std::string(kQuiet) + "Zembrit.plugin.y: 333\n");
    writePluginFile("Zembrit.rc", std::string(kQuiet) + "Zembrit.plugin.y: 44\n");
    ASSERT_EQ(start(), 0);
    EXPECT_EQ(pathInUse(), pluginDir + "Zembrit.rc");
    EXPECT_EQ(windowRect().top, 44);
}

TEST_F(Settings, APluginPathTooLongToFetchNeverMakesTheConfigurationPathRelative) {
    // The plugin's path takes 260 characters: one more than fetching it allows.
    std::string deep = pluginDir;
    while (deep.size() + 40 < MAX_PATH) deep += std::string(39, 'd') + "\\";
    deep += std::string(MAX_PATH - deep.size() - sizeof "\\Zembrit.dll" + 1, 'e') + "\\";
    ASSERT_EQ(deep.size() + std::strlen("Zembrit.dll"), size_t{MAX_PATH});
    std::filesystem::create_directories(deep);
    std::filesystem::copy_file(pluginDir + "Zembrit.dll", deep + "Zembrit.dll");
    pluginDir = deep;
    ASSERT_EQ(start(), 0);
    EXPECT_EQ(pathInUse(), "");
    standin::broadcast("@ZembritInternal AlwaysOnTop");
    ASSERT_FALSE(shellRecord.settingsWrites.empty());
    EXPECT_EQ(shellRecord.settingsWrites.back().rfind("|", 0), 0u) << shellRecord.settingsWrites.back();
}

// The stand-in shell's own file handling, which every other test relies on:
// another writer busy with its temporary file does not stop a write.
TEST_F(Settings, AShellWriteNeverSharesATemporaryFileWithAnotherWriter) {
    const std::string path = pluginDir + "Zembrit.rc";
    writeConfig("Zembrit.plugin.x: 77\n");
    const std::string otherTemporary = path + ".tmp";
    HANDLE otherWriter = CreateFileA(otherTemporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(otherWriter, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(WriteInt(path.c_str(), "Zembrit.plugin.width:", 300));
    CloseHandle(otherWriter);
    DeleteFileA(otherTemporary.c_str());
    EXPECT_EQ(configValue("Zembrit.plugin.width:"), "300");
    EXPECT_EQ(configValue("Zembrit.plugin.x:"), "77");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pluginDir), {}), 2) << "a temporary file was left";
}

TEST_F(Settings, TheWindowOpensAtTheStoredPlaceAndSize) {
    writeConfig(std::string(kQuiet) +
                "Zembrit.plugin.x: 200\nZembrit.plugin.y: 150\n"
                "Zembrit.plugin.width: 300\nZembrit.plugin.height: 60\n");
    ASSERT_EQ(start(), 0);
    RECT rect = windowRect();
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 150);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 60);
}

TEST_F(Settings, GarbageInTheFileStartsWithDefaults) {
    std::string garbage =
        "Zembrit.plugin.x: twelve\nZembrit.plugin.y:\nZembrit.plugin.width: 99999999999999\n"
        "Zembrit.plugin.height: 0x20\nZembrit.plugin.alwaysontop: maybe\n"
        "Zembrit.plugin.wave.buffsize: -\nZembrit.plugin.wave.fps: \x01\x02\n";
    garbage += std::string("Zembrit.plugin.style.scopeType: \xff\xfe\x00\x80 binary\n", 40);
    garbage += std::string(kQuiet);
    writeConfig(garbage);
    ASSERT_EQ(start(), 0);
    RECT rect = windowRect();
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right - rect.left, 100);
    EXPECT_EQ(rect.bottom - rect.top, 25);
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

TEST_F(Settings, OverlongTextValuesAreCutToTheirFields) {
    std::string huge(10000, 'u');
    writeConfig(std::string(kQuiet) + "Zembrit.plugin.update.url: " + huge + "\n" +
                "Zembrit.plugin.style.ScopeColor: " + huge + "\n" + "Zembrit.plugin.style.tabPosition: " + huge + "\n" +
                "Zembrit.plugin.style.scopeType: " + huge + "\n");
    ASSERT_EQ(start(), 0);
    EXPECT_EQ(std::string(plugin.info(8)), huge.substr(0, 259));
    // Still alive and painting with the cut values.
    RedrawWindow(scopeWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(IsWindow(scopeWindow()));
}

}  // namespace
}  // namespace zembrit_test
