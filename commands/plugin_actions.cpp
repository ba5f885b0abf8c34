#include "commands/plugin_actions.h"

#include <windows.h>

#include <cstdio>

#include "settings/settings_store.h"
#include "shell/plugin_identity.h"
#include "shell/shell_api.h"

namespace zembrit {

namespace {

constexpr int kTextCapacity = 260;
constexpr int kShowNormal = 1;

}  // namespace

// The path is quoted: editors split their command line at spaces, and a
// plugin under "C:\Program Files" would otherwise open the wrong file.
void openConfigurationInEditor() {
    char editor[kTextCapacity] = "";
    shellApi.GetNorvaneEditor(editor);
    editor[sizeof editor - 1] = '\0';
    char quotedPath[kConfigPathCapacity + 2];
    std::snprintf(quotedPath, sizeof quotedPath, "\"%s\"", configPath());
    shellApi.NRExecute(nullptr, nullptr, editor, quotedPath, nullptr, kShowNormal, false);
}

void showAboutBox() {
    char text[kTextCapacity];
    std::snprintf(text, sizeof text, "%s\n\nAuthor : %s\nWeb: %s\nEmail: %s", kPluginCaption, kPluginAuthor,
                  kPluginLink, kPluginEmail);
    MessageBoxA(nullptr, text, "About this plugin...", MB_OK | MB_ICONINFORMATION);
}

}  // namespace zembrit
