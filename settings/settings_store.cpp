// Settings come from and go to the configuration file through the shell.
#include "settings/settings_store.h"

#include <windows.h>

#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "settings/keys.h"
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

bool readBool(const char* key, bool fallback) { return host.ReadBool(configPath, key, fallback); }
int32_t readInt(const char* key, int32_t fallback) { return host.ReadInt(configPath, key, fallback); }
const char* readText(const char* key, const char* fallback) {
    const char* text = host.ReadString(configPath, key, fallback);
    return text ? text : fallback;
}

}  // namespace

void readSettings() {
    findConfigurationFile();
    const ScopeSettings defaults;
    ScopeSettings& s = settings;
    s.x = readInt(keys::x, defaults.x);
    s.y = readInt(keys::y, defaults.y);
    s.inSlit = readBool(keys::inSlit, defaults.inSlit);
    s.motionBlur = readBool(keys::motionBlur, defaults.motionBlur);
    s.motionBlurAlpha = blurAlphaFromStored(readInt(keys::motionBlurAlpha, defaults.motionBlurAlpha));
    s.transparencyEnabled = readBool(keys::transparencyEnabled, defaults.transparencyEnabled);
    s.transbackEnabled = readBool(keys::transbackEnabled, defaults.transbackEnabled);
    s.transparencyAlpha = readInt(keys::transparencyAlpha, defaults.transparencyAlpha);
    s.alwaysOnTop = readBool(keys::alwaysOnTop, defaults.alwaysOnTop);
    s.snapWindow = readBool(keys::snapWindow, defaults.snapWindow);
    s.toggleWithPlugins = readBool(keys::toggleWithPlugins, defaults.toggleWithPlugins);
    copyBounded(s.updateUrl, sizeof s.updateUrl, readText(keys::updateUrl, ""));
    s.width = windowExtentWithin(readInt(keys::width, defaults.width), virtualScreen().width);
    s.height = windowExtentWithin(readInt(keys::height, defaults.height), virtualScreen().height);
    s.startWaveMonitorOnStartUp = readBool(keys::startWaveMonitorOnStartUp, defaults.startWaveMonitorOnStartUp);
    s.bufferPoints = clampBufferPoints(readInt(keys::bufferPoints, defaults.bufferPoints));
    s.frameIntervalMs = frameIntervalFromFps(readInt(keys::framesPerSecond, 25));
    s.sampleKHz = readInt(keys::sampleKHz, defaults.sampleKHz);
    s.sampleBits = readInt(keys::sampleBits, defaults.sampleBits);
    s.source = captureSourceFromText(readText(keys::waveSource, "")).value_or(defaults.source);
    copyBounded(s.deviceName, sizeof s.deviceName, readText(keys::waveDevice, ""));
    s.scopeWidth = readInt(keys::scopeWidth, defaults.scopeWidth);
    setColorKey(s.scopeColorKey, readText(keys::scopeColorKey, "toolbar.textColor"));
    copyBounded(s.tabPosition, sizeof s.tabPosition, readText(keys::tabPosition, "br"));
    s.scopeType = scopeTypeFromText(readText(keys::scopeType, "h"));
    s.showBorder = readBool(keys::showBorder, defaults.showBorder);
}

void storeBool(const char* key, bool value) { host.WriteBool(configPath, key, value); }
void storeInt(const char* key, int32_t value) { host.WriteInt(configPath, key, value); }
void storeString(const char* key, const char* value) { host.WriteString(configPath, key, value); }

}  // namespace zembrit
