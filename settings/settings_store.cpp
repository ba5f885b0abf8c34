// Settings come from and go to the configuration file through the shell.
#include "settings/settings_store.h"

#include <windows.h>

#include "settings/settings_rules.h"
#include "settings/virtual_screen.h"
#include "shell/own_module.h"
#include "shell/shell_api.h"

namespace zembrit {

namespace {

ScopeSettings current;
char configFile[kConfigPathCapacity] = "";

bool shellFileExists(const char* path, void*) { return shellApi.FileExists(path); }

void findConfigurationFile() {
    char modulePath[MAX_PATH] = "";
    const HMODULE module = ownModule(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT);
    const DWORD length = module ? GetModuleFileNameA(module, modulePath, sizeof modulePath) : 0;
    // A cut path names another folder, and an empty one the current folder.
    const bool moduleKnown = length != 0 && length < sizeof modulePath;
    char shellPath[kShellPathCapacity] = "";
    shellApi.GetNorvanePath(shellPath, sizeof shellPath);
    shellPath[sizeof shellPath - 1] = '\0';
    findConfigPath(moduleKnown ? modulePath : nullptr, shellPath, shellFileExists, nullptr, configFile);
}

class ShellSettings final : public SettingsReader, public SettingsSink {
public:
    bool readBool(const char* key, bool fallback) const override {
        return shellApi.ReadBool(configFile, key, fallback);
    }
    int32_t readInt(const char* key, int32_t fallback) const override {
        return shellApi.ReadInt(configFile, key, fallback);
    }
    const char* readText(const char* key, const char* fallback) const override {
        const char* text = shellApi.ReadString(configFile, key, fallback);
        return text ? text : fallback;
    }
    void writeBool(const char* key, bool value) override { shellApi.WriteBool(configFile, key, value); }
    void writeInt(const char* key, int32_t value) override { shellApi.WriteInt(configFile, key, value); }
    void writeText(const char* key, const char* value) override { shellApi.WriteString(configFile, key, value); }
};

template <StoredAs Stored>
void change(Key<Stored> key, StoredValue<Stored> value, bool storing) {
    ShellSettings file;
    changeSetting(current, key, value, virtualScreen(), storing ? &file : nullptr);
}

}  // namespace

void readSettings() {
    findConfigurationFile();
    readEachSetting(current, ShellSettings{}, virtualScreen());
}

const ScopeSettings& settings() { return current; }
const char* configPath() { return configFile; }

void set(BoolKey key, bool value) { change(key, value, true); }
void set(IntKey key, int32_t value) { change(key, value, true); }
void set(TextKey key, const char* value) { change(key, value, true); }
void setWithoutStoring(BoolKey key, bool value) { change(key, value, false); }
void setWithoutStoring(IntKey key, int32_t value) { change(key, value, false); }

}  // namespace zembrit
