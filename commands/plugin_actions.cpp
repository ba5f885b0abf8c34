#include "commands/plugin_actions.h"

#include <windows.h>

#include <cstdio>

#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "settings/settings_store.h"

namespace zembrit {

namespace {

constexpr int kTextCapacity = 260;
constexpr int kShowNormal = 1;

}  // namespace

void openConfigurationInEditor() {
    char editor[kTextCapacity] = "";
    host.GetNorvaneEditor(editor);
    editor[sizeof editor - 1] = '\0';
    host.NRExecute(nullptr, nullptr, editor, configPath, nullptr, kShowNormal, false);
}

void showAboutBox() {
    char text[kTextCapacity];
    std::snprintf(text, sizeof text, "%s\n\nAuthor : %s\nWeb: %s\nEmail: %s", kPluginCaption, kPluginAuthor,
                  kPluginLink, kPluginEmail);
    MessageBoxA(nullptr, text, "About this plugin...", MB_OK | MB_ICONINFORMATION);
}

}  // namespace zembrit
