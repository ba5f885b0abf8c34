// Settings come from and go to the configuration file through the shell.
#include "settings/settings_store.h"

#include <windows.h>

#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "settings/settings_rules.h"
#include "settings/virtual_screen.h"

namespace zembrit {

ScopeSettings settings;
char configPath[kConfigPathCapacity] = "";

namespace {

bool shellFileExists(const char* path, void*) { return host.FileExists(path); }

void findConfigurationFile() {
    char modulePath[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(moduleInstance, modulePath, sizeof modulePath);
    // A cut path names another folder, and an empty one the current folder.
    const bool moduleKnown = length != 0 && length < sizeof modulePath;
    char shellPath[kShellPathCapacity] = "";
    host.GetNorvanePath(shellPath, sizeof shellPath);
    shellPath[sizeof shellPath - 1] = '\0';
    findConfigPath(moduleKnown ? modulePath : nullptr, shellPath, shellFileExists, nullptr, configPath);
}

class ShellSettings final : public SettingsSource {
public:
    bool readBool(const char* key, bool fallback) const override { return host.ReadBool(configPath, key, fallback); }
    int32_t readInt(const char* key, int32_t fallback) const override {
        return host.ReadInt(configPath, key, fallback);
    }
    const char* readText(const char* key, const char* fallback) const override {
        const char* text = host.ReadString(configPath, key, fallback);
        return text ? text : fallback;
    }
};

}  // namespace

void readSettings() {
    findConfigurationFile();
    readEachSetting(settings, ShellSettings{}, virtualScreen());
}

void store(BoolKey key, bool value) { host.WriteBool(configPath, key.text, value); }
void store(IntKey key, int32_t value) { host.WriteInt(configPath, key.text, value); }
void store(TextKey key, const char* value) { host.WriteString(configPath, key.text, value); }

}  // namespace zembrit
