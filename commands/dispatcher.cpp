// Broadcast commands and the shell's reconfigure message: each command
// changes one setting, writes it at once and runs the follow-up it needs.
#include "commands/dispatcher.h"

#include <cstring>
#include <optional>

#include "capture/capture.h"
#include "commands/capture_control.h"
#include "commands/command_match.h"
#include "commands/docking.h"
#include "commands/plugin_actions.h"
#include "commands/report_toggle.h"
#include "scope/window_state.h"
#include "settings/capture_source.h"
#include "settings/keys.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "settings/style.h"
#include "settings/tab_position.h"

namespace zembrit {

namespace {

// Capture parameters are stored and written first; only then is a running
// capture restarted, so it opens with the new values.
void restartRunningCapture() {
    if (isCapturing()) restartCaptureShowingFailures(scopeWindow());
}

// A docked scope stays put whatever the shell does with its plugins.
void followShellPlugins(bool hidden) {
    if (settings().inSlit) return;
    setPluginsHidden(hidden);
    applyWindowState();
}

void setTabPosition(const char* code) {
    copyBounded(settings().tabPosition, sizeof settings().tabPosition, code);
    store(keys::tabPosition, code);
}

void setScopeType(const char* code) {
    settings().scopeType = scopeTypeFromText(code);
    store(keys::scopeType, code);
}

void setBlurAlpha(int32_t requested) {
    settings().motionBlurAlpha = blurAlphaFromStored(requested);
    store(keys::motionBlurAlpha, settings().motionBlurAlpha);
}

void setScopeWidth(int32_t width) {
    settings().scopeWidth = width;
    store(keys::scopeWidth, width);
}

void setSampleKHz(int32_t kiloHertz) {
    settings().sampleKHz = kiloHertz;
    store(keys::sampleKHz, kiloHertz);
    restartRunningCapture();
}

// The trace holds at most 100 points: a size outside 10..100 is brought into
// range as the settings reader does, and the size actually held is written.
void setBufferPoints(int32_t requested) {
    const int32_t points = clampBufferPoints(requested);
    settings().bufferPoints = points;
    store(keys::bufferPoints, points);
    restartRunningCapture();
}

void setSampleBits(int32_t bits) {
    settings().sampleBits = bits;
    store(keys::sampleBits, bits);
    restartRunningCapture();
}

// A rate of 0 or less would divide by zero; like the settings reader, it
// counts as 1, and that rate is what gets written.
void setFramesPerSecond(int32_t requested) {
    const int32_t framesPerSecond = requested > 0 ? requested : 1;
    settings().frameIntervalMs = frameIntervalFromFps(framesPerSecond);
    store(keys::framesPerSecond, framesPerSecond);
    restartRunningCapture();
}

// The window takes its new alpha before the value is written.
void setTransparencyAlpha(int32_t alpha) {
    settings().transparencyAlpha = alpha;
    applyWindowState();
    store(keys::transparencyAlpha, alpha);
}

// The word after the command names the source; any other word is ignored.
void setCaptureSource(const char* word) {
    const std::optional<CaptureSource> source = captureSourceFromText(word);
    if (!source) return;
    settings().source = *source;
    store(keys::waveSource, captureSourceWord(*source));
    restartRunningCapture();
}

// The rest of the word, after one or more spaces, names the device; nothing
// after the word means the system's default. "SetDevicex" is no command.
void setCaptureDevice(const char* rest) {
    if (*rest != '\0' && *rest != ' ') return;
    while (*rest == ' ') ++rest;
    ScopeSettings& s = settings();
    copyBounded(s.deviceName, sizeof s.deviceName, rest);
    store(keys::waveDevice, s.deviceName);
    restartRunningCapture();
}

// Brought into 0..2000 as the settings reader does; a capture takes its
// delay when it starts.
void setDelay(int32_t requested) {
    settings().delayMs = clampDelayMs(requested);
    store(keys::delay, settings().delayMs);
    restartRunningCapture();
}

void toggleRecording() {
    if (isCapturing())
        stopCaptureShowingFailures();
    else
        startCaptureShowingFailures(scopeWindow());
}

void toggle(bool& flag, const Command& command, BoolKey key) { reportToggle(flag, command.word, key, true); }

// A capture takes the signal options when it starts.
void setTrigger(bool trigger) {
    settings().trigger = trigger;
    store(keys::trigger, triggerText(trigger));
    restartRunningCapture();
}

void toggleAutoGain(const Command& command) {
    toggle(settings().autoGain, command, keys::autoGain);
    restartRunningCapture();
}

void setChannels(ChannelMode mode) {
    settings().channels = mode;
    store(keys::channels, channelsText(mode));
    restartRunningCapture();
}

// One action per command, named after its id; the table below is generated
// from the command table, so a command without its action does not compile.
void onShowPlugins(const Command&) { followShellPlugins(false); }
void onHidePlugins(const Command&) { followShellPlugins(true); }
void onStylePreset(const Command& command) { applyStylePreset(command.number); }
void onSlitToggle(const Command& command) { toggleDocking(command.word); }
void onMonitorStartUp(const Command& c) {
    toggle(settings().startWaveMonitorOnStartUp, c, keys::startWaveMonitorOnStartUp);
}
void onAlwaysOnTop(const Command& c) { toggle(settings().alwaysOnTop, c, keys::alwaysOnTop); }
void onSnapWindowToEdge(const Command& c) { toggle(settings().snapWindow, c, keys::snapWindow); }
void onTransparencyEnabled(const Command& c) { toggle(settings().transparencyEnabled, c, keys::transparencyEnabled); }
void onToggleBorder(const Command& c) { toggle(settings().showBorder, c, keys::showBorder); }
void onTransbackEnabled(const Command& c) { toggle(settings().transbackEnabled, c, keys::transbackEnabled); }
void onSetTabHT(const Command&) { setTabPosition(tabs::hidden); }
void onSetTabTR(const Command&) { setTabPosition(tabs::topRight); }
void onSetTabBL(const Command&) { setTabPosition(tabs::bottomLeft); }
void onSetTabBR(const Command&) { setTabPosition(tabs::bottomRight); }
void onSetTabTL(const Command&) { setTabPosition(tabs::topLeft); }
void onSetScopeV(const Command&) { setScopeType("v"); }
void onSetScopeH(const Command&) { setScopeType("h"); }
void onToggleBlur(const Command& c) { toggle(settings().motionBlur, c, keys::motionBlur); }
void onSetBlurAlpha(const Command& command) { setBlurAlpha(command.number); }
void onSetScopeWidth(const Command& command) { setScopeWidth(command.number); }
void onSetKHz(const Command& command) { setSampleKHz(command.number); }
void onSetBuff(const Command& command) { setBufferPoints(command.number); }
void onSetBit(const Command& command) { setSampleBits(command.number); }
void onSetFPS(const Command& command) { setFramesPerSecond(command.number); }
void onTransparencyAlpha(const Command& command) { setTransparencyAlpha(command.number); }
void onToggleWithPlugins(const Command& c) { toggle(settings().toggleWithPlugins, c, keys::toggleWithPlugins); }
void onEdit(const Command&) { openConfigurationInEditor(); }
void onAbout(const Command&) { showAboutBox(); }
void onToggleRecord(const Command&) { toggleRecording(); }
void onSetTriggerRising(const Command&) { setTrigger(true); }
void onSetTriggerOff(const Command&) { setTrigger(false); }
void onAutoGain(const Command& command) { toggleAutoGain(command); }
void onSetChannelsMono(const Command&) { setChannels(ChannelMode::mono); }
void onSetChannelsStereo(const Command&) { setChannels(ChannelMode::stereo); }
void onSetChannelsXY(const Command&) { setChannels(ChannelMode::xy); }
void onSetSource(const Command& command) { setCaptureSource(std::strchr(command.word, ' ')); }
void onSetDelay(const Command& command) { setDelay(command.number); }
void onSetDevice(const Command& command) {
    setCaptureDevice(command.word + std::strlen(ruleOf(CommandId::SetDevice)->word));
}
void onClickThrough(const Command& c) { toggle(settings().clickThrough, c, keys::clickThrough); }

using Action = void (*)(const Command&);
#define ZEMBRIT_COMMAND_ACTION(id, word, test, menuWord) &on##id,
constexpr Action kActions[] = {nullptr, &onShowPlugins, &onHidePlugins, &onStylePreset,
                               ZEMBRIT_INTERNAL_COMMANDS(ZEMBRIT_COMMAND_ACTION)};
#undef ZEMBRIT_COMMAND_ACTION

// What the shell's reconfigure message reloads, between a capture's stop and start.
void reloadEverything() {
    readSettings();
    reloadStyle();
    applyWindowState();
}

}  // namespace

void handleReconfigure() {
    if (isCapturing())
        restartCaptureShowingFailures(scopeWindow(), reloadEverything);
    else
        reloadEverything();
}

void handleBroadcast(const char* text) {
    const Command command = matchCommand(text);
    // A numeric word with no argument text at all is ignored.
    if (takesNumber(command.id) && !command.hasNumber) return;
    if (const Action action = kActions[static_cast<int>(command.id)]) action(command);
}

}  // namespace zembrit
