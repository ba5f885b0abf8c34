#include "commands/command_table.h"
#include "settings/settings_store.h"
#include "shell/plugin_identity.h"
#include "shell/shell_api.h"

const char* pluginInfo(int field) {
    switch (field) {
    case 1: return zembrit::kPluginName;
    case 2: return zembrit::kPluginVersion;
    case 3: return zembrit::kPluginAuthor;
    case 4: return zembrit::kPluginReleaseDate;
    case 5: return zembrit::kPluginLink;
    case 6: return zembrit::kPluginEmail;
    case 7: return zembrit::kAllPresetCommands;
    case 8: return zembrit::settings().updateUrl;
    default: return zembrit::kPluginCaption;
    }
}
