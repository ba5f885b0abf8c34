// Settings come from and go to the configuration file through the shell.
#include "settings/settings_store.h"

#include <windows.h>

#include "plugin/host_api.h"
#include "settings/settings_rules.h"
#include "settings/virtual_screen.h"

namespace zembrit {

namespace {

ScopeSettings current;
char configFile[kConfigPathCapacity] = "";

// The plugin's own module, found from an address inside it.
HMODULE ownModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ownModule), &module);
    return module;
}

bool shellFileExists(const char* path, void*) { return host.FileExists(path); }

void findConfigurationFile() {
    char modulePath[MAX_PATH] = "";
    const HMODULE module = ownModule();
    const DWORD length = module ? GetModuleFileNameA(module, modulePath, sizeof modulePath) : 0;
    // A cut path names another folder, and an empty one the current folder.
    const bool moduleKnown = length != 0 && length < sizeof modulePath;
    char shellPath[kShellPathCapacity] = "";
    host.GetNorvanePath(shellPath, sizeof shellPath);
    shellPath[sizeof shellPath - 1] = '\0';
    findConfigPath(moduleKnown ? modulePath : nullptr, shellPath, shellFileExists, nullptr, configFile);
}

class ShellSettings final : public SettingsSource {
public:
    bool readBool(const char* key, bool fallback) const override { return host.ReadBool(configFile, key, fallback); }
    int32_t readInt(const char* key, int32_t fallback) const override {
        return host.ReadInt(configFile, key, fallback);
    }
    const char* readText(const char* key, const char* fallback) const override {
        const char* text = host.ReadString(configFile, key, fallback);
        return text ? text : fallback;
    }
};

}  // namespace

void readSettings() {
    findConfigurationFile();
    readEachSetting(current, ShellSettings{}, virtualScreen());
}

ScopeSettings& settings() { return current; }
const char* configPath() { return configFile; }

void store(BoolKey key, bool value) { host.WriteBool(configFile, key.text, value); }
void store(IntKey key, int32_t value) { host.WriteInt(configFile, key.text, value); }
void store(TextKey key, const char* value) { host.WriteString(configFile, key.text, value); }

}  // namespace zembrit
