#include "plugin/plugin_exports.h"
#include "plugin/plugin_state.h"
#include "settings/settings_store.h"

const char* pluginInfo(int field) {
    switch (field) {
        case 1: return "Zembrit";
        case 2: return "v1.22b";
        case 3: return zembrit::kPluginAuthor;
        case 4: return "2006-01-29";
        case 5: return zembrit::kPluginLink;
        case 6: return zembrit::kPluginEmail;
        case 7: return "@Zembrit SetStyle 1@Zembrit SetStyle 2@Zembrit SetStyle 3@Zembrit SetStyle 4";
        case 8: return zembrit::settings.updateUrl;
        default: return zembrit::kPluginCaption;
    }
}
