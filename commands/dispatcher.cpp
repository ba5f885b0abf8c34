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
#include "settings/ascii_text.h"
#include "settings/capture_source.h"
#include "settings/keys.h"
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
    if (docked()) return;
    setPluginsHidden(hidden);
    applyWindowState();
}

// The key's rule brings a value into range as the settings reader does (10
// to 100 points, a rate of at least 1, a delay of 0 to 2000 ms), and what
// the capture will use is what gets written.
void setCaptureValue(IntKey key, int32_t requested) {
    set(key, requested);
    restartRunningCapture();
}

// The window takes its new alpha before the value is written.
void setTransparencyAlpha(int32_t alpha) {
    setWithoutStoring(keys::transparencyAlpha, alpha);
    applyWindowState();
    set(keys::transparencyAlpha, alpha);
}

// The word after the command names the source; any other word is ignored.
void setCaptureSource(const char* word) {
    const std::optional<CaptureSource> source = captureSourceFromText(word);
    if (!source) return;
    set(keys::waveSource, captureSourceWord(*source));
    restartRunningCapture();
}

// The rest of the word, after one or more spaces, names the device; nothing
// after the word means the system's default. "SetDevicex" is no command, and
// a name holding a control character is refused: a line break would end the
// stored line. The menu sends such a device by its identifier.
void setCaptureDevice(const char* rest) {
    if ((*rest != '\0' && *rest != ' ') || holdsControlCharacter(rest)) return;
    set(keys::waveDevice, skipLeading(rest, " "));
    restartRunningCapture();
}

void toggleRecording() {
    if (isCapturing())
        stopCaptureShowingFailures();
    else
        startCaptureShowingFailures(scopeWindow());
}

// The follow-up of an on/off command that needs none.
void nothing() {}

// An on/off command: the row's key is flipped, reported and written, then
// the row's follow-up runs.
template <const BoolKey& key, void (*then)()>
void onToggle(const Command& command) {
    reportToggle(key, command.word, true);
    then();
}

// A capture takes the signal options when it starts.
void setSignalWord(TextKey key, const char* word) {
    set(key, word);
    restartRunningCapture();
}

// One action per command, named after its id, or for an on/off command made
// from its row; the table below is generated from the command table, so a
// command without its action does not compile.
void onShowPlugins(const Command&) { followShellPlugins(false); }
void onHidePlugins(const Command&) { followShellPlugins(true); }
void onStylePreset(const Command& command) { applyStylePreset(command.number); }
void onSlitToggle(const Command& command) { toggleDocking(command.word); }
void onSetTabHT(const Command&) { set(keys::tabPosition, tabs::hidden); }
void onSetTabTR(const Command&) { set(keys::tabPosition, tabs::topRight); }
void onSetTabBL(const Command&) { set(keys::tabPosition, tabs::bottomLeft); }
void onSetTabBR(const Command&) { set(keys::tabPosition, tabs::bottomRight); }
void onSetTabTL(const Command&) { set(keys::tabPosition, tabs::topLeft); }
void onSetScopeV(const Command&) { set(keys::scopeType, "v"); }
void onSetScopeH(const Command&) { set(keys::scopeType, "h"); }
void onSetBlurAlpha(const Command& command) { set(keys::motionBlurAlpha, command.number); }
void onSetScopeWidth(const Command& command) { set(keys::scopeWidth, command.number); }
void onSetKHz(const Command& command) { setCaptureValue(keys::sampleKHz, command.number); }
void onSetBuff(const Command& command) { setCaptureValue(keys::bufferPoints, command.number); }
void onSetBit(const Command& command) { setCaptureValue(keys::sampleBits, command.number); }
void onSetFPS(const Command& command) { setCaptureValue(keys::framesPerSecond, command.number); }
void onTransparencyAlpha(const Command& command) { setTransparencyAlpha(command.number); }
void onEdit(const Command&) { openConfigurationInEditor(); }
void onAbout(const Command&) { showAboutBox(); }
void onToggleRecord(const Command&) { toggleRecording(); }
void onSetTriggerRising(const Command&) { setSignalWord(keys::trigger, triggerText(true)); }
void onSetTriggerOff(const Command&) { setSignalWord(keys::trigger, triggerText(false)); }
void onSetChannelsMono(const Command&) { setSignalWord(keys::channels, channelsText(ChannelMode::mono)); }
void onSetChannelsStereo(const Command&) { setSignalWord(keys::channels, channelsText(ChannelMode::stereo)); }
void onSetChannelsXY(const Command&) { setSignalWord(keys::channels, channelsText(ChannelMode::xy)); }
void onSetViewTrace(const Command&) { setSignalWord(keys::view, viewText(PictureView::trace)); }
void onSetViewSpectrum(const Command&) { setSignalWord(keys::view, viewText(PictureView::spectrum)); }
void onSetSource(const Command& command) { setCaptureSource(std::strchr(command.word, ' ')); }
void onSetDelay(const Command& command) { setCaptureValue(keys::delay, command.number); }
void onSetDevice(const Command& command) {
    setCaptureDevice(command.word + std::strlen(ruleOf(CommandId::SetDevice)->word));
}

using Action = void (*)(const Command&);
#define ZEMBRIT_COMMAND_ACTION(id, word, test, menuWord) &on##id,
#define ZEMBRIT_TOGGLE_ACTION(id, word, key, then) &onToggle<keys::key, then>,
constexpr Action kActions[] = {nullptr, &onShowPlugins, &onHidePlugins, &onStylePreset,
                               ZEMBRIT_INTERNAL_COMMANDS(ZEMBRIT_COMMAND_ACTION, ZEMBRIT_TOGGLE_ACTION)};
#undef ZEMBRIT_TOGGLE_ACTION
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
