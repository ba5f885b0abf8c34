#include "settings/signal_settings_store.h"

#include "plugin/host_api.h"
#include "settings/keys.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"

namespace zembrit {

SignalSettings signalSettings;

namespace {

const char* readText(const char* key, const char* fallback) {
    const char* text = host.ReadString(configPath, key, fallback);
    return text ? text : fallback;
}

}  // namespace

void readSignalSettings() {
    const SignalSettings defaults;
    SignalOptions& options = signalSettings.options;
    options.trigger = triggerFromText(readText(keys::trigger, triggerText(defaults.options.trigger)));
    options.autoGain = host.ReadBool(configPath, keys::autoGain, defaults.options.autoGain);
    options.channels = channelsFromText(readText(keys::channels, channelsText(defaults.options.channels)));
    copyBounded(signalSettings.rightColor, sizeof signalSettings.rightColor, readText(keys::rightColor, ""));
}

}  // namespace zembrit
