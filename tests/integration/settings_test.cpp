// Where the configuration file is found, with real files in real folders,
// and the stand-in shell's own handling of it.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

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

// The order of the search is its rule's (unit-tested); this is the plugin
// asking with its own folder, the shell's, and real files in them.
TEST_F(Settings, TheFileIsLookedForInThePluginFolderThenTheShells) {
    struct Case {
        std::vector<std::string> files;  // written with a y of their own: 100 plus their place in the list
        std::string used;
    };
    const Case cases[] = {
        {{}, pluginDir + "Zembrit.rc"},
        {{pluginDir + "Zembrit.rc", pluginDir + "Zembritrc"}, pluginDir + "Zembritrc"},
        {{shellDir + "Zembrit.rc"}, shellDir + "Zembrit.rc"},
        {{shellDir + "Zembritrc", pluginDir + "Zembrit.rc"}, pluginDir + "Zembrit.rc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.used);
        for (const std::string& folder : {pluginDir, shellDir})
            for (const char* name : {"Zembrit.rc", "Zembritrc"}) DeleteFileA((folder + name).c_str());
        int y = 10;  // without a file, the default
        for (size_t i = 0; i < c.files.size(); ++i) {
            writeFile(c.files[i], std::string(kQuiet) + "Zembrit.plugin.y: " + std::to_string(100 + i) + "\n");
            if (c.files[i] == c.used) y = static_cast<int>(100 + i);
        }
        ASSERT_EQ(start(), 0);
        EXPECT_EQ(pathInUse(), c.used);
        EXPECT_EQ(windowRect().top, y);
        end();
    }
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

}  // namespace
}  // namespace zembrit_test
