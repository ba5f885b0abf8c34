#include "host/plugin_host.h"

#include "host/import_patch.h"
#include "host/shell.h"

namespace standin {
namespace {

decltype(&MessageBoxA) systemMessageBox = MessageBoxA;

// Tests must never wait on a modal box: outside interactive runs a box is
// recorded and answered at once, as if its OK button had been pressed.
int WINAPI watchedMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    shellRecord.messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    if (shellOptions.interactive) return systemMessageBox(owner, text, caption, type);
    return IDOK;
}

template <class Pointer>
bool find(HMODULE module, const char* name, Pointer& slot) {
    slot = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return slot != nullptr;
}

}  // namespace

bool loadPlugin(const char* path, LoadedPlugin& plugin) {
    plugin = {};
    plugin.module = LoadLibraryA(path);
    if (!plugin.module) return false;
    patchImport(plugin.module, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(watchedMessageBox));
    if (find(plugin.module, "beginPlugin", plugin.begin) && find(plugin.module, "beginPluginEx", plugin.beginEx) &&
        find(plugin.module, "beginSlitPlugin", plugin.beginSlit) && find(plugin.module, "endPlugin", plugin.end) &&
        find(plugin.module, "pluginInfo", plugin.info))
        return true;
    unloadPlugin(plugin);
    return false;
}

int startPlugin(const LoadedPlugin& plugin) {
    HWND dock = shellDockWindow();
    return dock ? plugin.beginEx(plugin.module, dock) : plugin.begin(plugin.module);
}

void stopPlugin(const LoadedPlugin& plugin) { plugin.end(plugin.module); }

void unloadPlugin(LoadedPlugin& plugin) {
    if (plugin.module) FreeLibrary(plugin.module);
    plugin = {};
}

}  // namespace standin
