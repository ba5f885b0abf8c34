// Broadcast commands and the shell's reconfigure message: each command
// changes one setting, writes it at once and runs the follow-up it needs.
#include "commands/dispatcher.h"

#include "capture/capture.h"
#include "commands/command_match.h"
#include "commands/docking.h"
#include "commands/plugin_actions.h"
#include "commands/report_toggle.h"
#include "scope/window_state.h"
#include "settings/keys.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "settings/style.h"

namespace zembrit {

namespace {

// Capture parameters are stored and written first; only then is a running
// capture restarted, so it opens with the new values.
void restartRunningCapture() {
    if (!isCapturing()) return;
    stopCapture();
    startCapture();
}

// A docked scope stays put whatever the shell does with its plugins.
void setPluginsHidden(bool hidden) {
    if (settings.inSlit) return;
    pluginsHidden = hidden;
    applyWindowState();
}

void setTabPosition(const char* code) {
    copyBounded(settings.tabPosition, sizeof settings.tabPosition, code);
    storeString(keys::tabPosition, code);
}

void setScopeType(const char* code) {
    settings.scopeType = scopeTypeFromText(code);
    storeString(keys::scopeType, code);
}

void setBlurAlpha(int32_t requested) {
    settings.motionBlurAlpha = blurAlphaFromStored(requested);
    storeInt(keys::motionBlurAlpha, settings.motionBlurAlpha);
}

void setScopeWidth(int32_t width) {
    settings.scopeWidth = width;
    storeInt(keys::scopeWidth, width);
}

void setSampleKHz(int32_t kiloHertz) {
    settings.sampleKHz = kiloHertz;
    storeInt(keys::sampleKHz, kiloHertz);
    restartRunningCapture();
}

// The trace holds at most 100 points: a size outside 10..100 is brought into
// range as the settings reader does, and the size actually held is written.
void setBufferPoints(int32_t requested) {
    const int32_t points = clampBufferPoints(requested);
    settings.bufferPoints = points;
    storeInt(keys::bufferPoints, points);
    restartRunningCapture();
}

void setSampleBits(int32_t bits) {
    settings.sampleBits = bits;
    storeInt(keys::sampleBits, bits);
    restartRunningCapture();
}

// A rate of 0 or less would divide by zero; like the settings reader, it
// counts as 1, and that rate is what gets written.
void setFramesPerSecond(int32_t requested) {
    const int32_t framesPerSecond = requested > 0 ? requested : 1;
    settings.frameIntervalMs = frameIntervalFromFps(framesPerSecond);
    storeInt(keys::framesPerSecond, framesPerSecond);
    restartRunningCapture();
}

// The window takes its new alpha before the value is written.
void setTransparencyAlpha(int32_t alpha) {
    settings.transparencyAlpha = alpha;
    applyWindowState();
    storeInt(keys::transparencyAlpha, alpha);
}

void toggleRecording() {
    if (isCapturing())
        stopCapture();
    else
        startCapture();
}

bool takesNumber(CommandId id) {
    switch (id) {
    case CommandId::SetBlurAlpha:
    case CommandId::SetScopeWidth:
    case CommandId::SetKHz:
    case CommandId::SetBuff:
    case CommandId::SetBit:
    case CommandId::SetFPS:
    case CommandId::TransparencyAlpha:
        return true;
    default:
        return false;
    }
}

void runToggle(const Command& command) {
    ScopeSettings& s = settings;
    const char* word = command.word;
    switch (command.id) {
    case CommandId::MonitorStartUp:
        return reportToggle(s.startWaveMonitorOnStartUp, word, keys::startWaveMonitorOnStartUp, true);
    case CommandId::AlwaysOnTop: return reportToggle(s.alwaysOnTop, word, keys::alwaysOnTop, true);
    case CommandId::SnapWindowToEdge: return reportToggle(s.snapWindow, word, keys::snapWindow, true);
    case CommandId::TransparencyEnabled:
        return reportToggle(s.transparencyEnabled, word, keys::transparencyEnabled, true);
    case CommandId::ToggleBorder: return reportToggle(s.showBorder, word, keys::showBorder, true);
    case CommandId::TransbackEnabled: return reportToggle(s.transbackEnabled, word, keys::transbackEnabled, true);
    case CommandId::ToggleBlur: return reportToggle(s.motionBlur, word, keys::motionBlur, true);
    case CommandId::ToggleWithPlugins: return reportToggle(s.toggleWithPlugins, word, keys::toggleWithPlugins, true);
    default: return;
    }
}

void runCommand(const Command& command) {
    const int32_t n = command.number;
    switch (command.id) {
    case CommandId::ShowPlugins: return setPluginsHidden(false);
    case CommandId::HidePlugins: return setPluginsHidden(true);
    case CommandId::StylePreset: return applyStylePreset(n);
    case CommandId::SlitToggle: return toggleDocking(command.word);
    case CommandId::SetTabHT: return setTabPosition("ht");
    case CommandId::SetTabTR: return setTabPosition("tr");
    case CommandId::SetTabBL: return setTabPosition("bl");
    case CommandId::SetTabBR: return setTabPosition("br");
    case CommandId::SetTabTL: return setTabPosition("tl");
    case CommandId::SetScopeV: return setScopeType("v");
    case CommandId::SetScopeH: return setScopeType("h");
    case CommandId::SetBlurAlpha: return setBlurAlpha(n);
    case CommandId::SetScopeWidth: return setScopeWidth(n);
    case CommandId::SetKHz: return setSampleKHz(n);
    case CommandId::SetBuff: return setBufferPoints(n);
    case CommandId::SetBit: return setSampleBits(n);
    case CommandId::SetFPS: return setFramesPerSecond(n);
    case CommandId::TransparencyAlpha: return setTransparencyAlpha(n);
    case CommandId::Edit: return openConfigurationInEditor();
    case CommandId::About: return showAboutBox();
    case CommandId::ToggleRecord: return toggleRecording();
    default: return runToggle(command);
    }
}

}  // namespace

void handleReconfigure() {
    const bool wasCapturing = isCapturing();
    if (wasCapturing) stopCapture();
    readSettings();
    reloadStyle();
    applyWindowState();
    if (wasCapturing) startCapture();
}

void handleBroadcast(const char* text) {
    const Command command = matchCommand(text);
    // A numeric word with no argument text at all is ignored.
    if (takesNumber(command.id) && !command.hasNumber) return;
    runCommand(command);
}

}  // namespace zembrit
