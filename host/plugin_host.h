#pragma once
#include <windows.h>

#include "shell/shell_api.h"

namespace standin {

struct LoadedPlugin {
    HMODULE module = nullptr;
    decltype(&::beginPlugin) begin = nullptr;
    decltype(&::beginPluginEx) beginEx = nullptr;
    decltype(&::beginSlitPlugin) beginSlit = nullptr;
    decltype(&::endPlugin) end = nullptr;
    decltype(&::pluginInfo) info = nullptr;
};

// Loads the DLL and finds its entry points; the shell then watches the
// plugin's message boxes (recorded, and shown only when interactive).
bool loadPlugin(const char* path, LoadedPlugin& plugin);
// Starts through beginPluginEx with the dock window when there is one.
int startPlugin(const LoadedPlugin& plugin);
void stopPlugin(const LoadedPlugin& plugin);
void unloadPlugin(LoadedPlugin& plugin);

}  // namespace standin
