// The WASAPI engine wired to the scope.
#include "capture/wasapi/wasapi_capture.h"

#include <algorithm>
#include <atomic>

#include "capture/floor/trace_feed.h"
#include "capture/signal/silence_decay.h"
#include "capture/wasapi/com_ref.h"
#include "capture/wasapi/endpoint_names.h"
#include "capture/wasapi/repaint_gate.h"
#include "settings/settings_store.h"

namespace zembrit {
namespace {

constexpr UINT_PTR kDecayTimerId = 0x5A31;
// The longest gap between two spans the automatic gain counts as time:
// longer ones are silence, which the decay shows.
constexpr uint32_t kLongestGainStepMs = 500;

enum class Label : uint8_t { none, failing, capturing };

class ScopeSink final : public EngineSink {
public:
    // Control thread, before the engine's thread starts; the options and the
    // signal state are then the engine thread's alone until it ends.
    void begin(HWND window, const SignalOptions& options, bool trails) {
        pendingLabel_.store(Label::none);
        gate_ = RepaintGate{};
        trails_ = trails;
        delivered_.store(false);
        lastSampleTick_.store(GetTickCount());
        window_.store(window);
        feed_ = TraceFeed(options, LevelsFrom::packets);
    }
    void forgetWindow() { window_.store(nullptr); }

    void deliver(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout) override {
        const uint32_t now = GetTickCount();
        const uint32_t elapsedMs = std::min(now - lastSampleTick_.exchange(now), kLongestGainStepMs);
        if (!delivered_.exchange(true)) pendingLabel_.store(Label::capturing);
        const SampleBuffer buffer{bytes, byteCount, layout, static_cast<float>(elapsedMs) / 1000.0f};
        if (feed_.show(buffer) && worthRepainting())
            if (HWND window = window_.load()) InvalidateRect(window, nullptr, FALSE);
    }

    void packet(const uint8_t* bytes, uint32_t frames, const SourceLayout& format) override {
        feed_.takeLevels(bytes, frames, format);
    }

    // User-interface thread: the decay moved the picture behind the engine's back.
    void pictureGlided() { pictureGlided_.store(true); }

    // The label is sent from the user-interface thread: a message sent from
    // here could wait on a thread that is waiting for this one to end.
    void stateChanged(EngineState state, HRESULT) override {
        pendingLabel_.store(state == EngineState::running ? Label::capturing : Label::failing);
    }

    // The first span of a run also says it captures: a run whose first
    // open succeeded has no failure to recover from.
    Label takeLabel() { return pendingLabel_.exchange(Label::none); }
    uint32_t lastSampleTick() const { return lastSampleTick_.load(); }

private:
    bool worthRepainting() { return gate_.worthRequesting(writablePicture(), trails_, pictureGlided_.exchange(false)); }

    std::atomic<HWND> window_{nullptr};
    std::atomic<uint32_t> lastSampleTick_{0};
    std::atomic<Label> pendingLabel_{Label::none};
    std::atomic<bool> delivered_{false};
    std::atomic<bool> pictureGlided_{false};
    bool trails_ = false;
    RepaintGate gate_;
    TraceFeed feed_;
};

// The engine and its sink are the control thread's; the decay and the timer
// the user-interface thread's.
ScopeSink sink;
WasapiEngine engine(systemComFactory(), sink);
SilenceDecay decay;
SourceReport reportTo = nullptr;
HWND scopeWindowOfTimer = nullptr;  // the window the decay timer runs on
UINT tickMs = 0;                    // its interval now
uint32_t lastSampleSeen = 0;        // the newest sample's tick at the last tick
constexpr UINT kRestingTickMs = 250;

// The menu stores names as UTF-8; a name written by hand in the system's
// code page still reads as it did.
void widenDeviceName(const char* stored, wchar_t (&name)[kDeviceNameCapacity]) {
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, stored, -1, name, kDeviceNameCapacity)) return;
    if (MultiByteToWideChar(CP_ACP, 0, stored, -1, name, kDeviceNameCapacity)) return;
    name[0] = L'\0';
}

void CALLBACK onDecayTimer(HWND window, UINT, UINT_PTR, DWORD);

// Under Wine every tick costs a round trip to its server: once a frame is
// enough for the glide, and a resting trace needs only to notice samples.
UINT frameTickMs() { return static_cast<UINT>(std::max<int32_t>(settings().frameIntervalMs, USER_TIMER_MINIMUM)); }

void tickEvery(HWND window, UINT milliseconds) {
    if (milliseconds == tickMs) return;
    tickMs = milliseconds;
    SetTimer(window, kDecayTimerId, milliseconds, onDecayTimer);
}

void CALLBACK onDecayTimer(HWND window, UINT, UINT_PTR, DWORD) {
    if (const Label label = sink.takeLabel(); label != Label::none && reportTo)
        reportTo(label == Label::failing ? SourceHealth::failing : SourceHealth::capturing);
    const auto interval = static_cast<uint32_t>(settings().frameIntervalMs.load());
    const uint32_t now = GetTickCount();
    const uint32_t lastSample = sink.lastSampleTick();
    if (decay.step(now, lastSample, interval, writablePicture())) {
        sink.pictureGlided();
        InvalidateRect(window, nullptr, FALSE);
    }
    tickEvery(window, decay.flat() && lastSample == lastSampleSeen ? kRestingTickMs : frameTickMs());
    lastSampleSeen = lastSample;
}

}  // namespace

EngineConfig engineConfigFor(CaptureSource source, const SignalOptions& options) {
    const ScopeSettings& s = settings();
    EngineConfig config;
    config.loopback = source == CaptureSource::output;
    widenDeviceName(s.deviceName, config.deviceName);
    config.points = s.bufferPoints;
    config.mode = options.channels == ChannelMode::mono ? MixMode::mono : MixMode::firstTwo;
    config.doubled = options.trigger;
    return config;
}

void startWasapiTimer(HWND repaintWindow, SourceReport report) {
    decay = SilenceDecay{};
    reportTo = report;
    scopeWindowOfTimer = repaintWindow;
    tickMs = 0;
    if (repaintWindow) tickEvery(repaintWindow, frameTickMs());
}

void stopWasapiTimer() {
    if (scopeWindowOfTimer) KillTimer(scopeWindowOfTimer, kDecayTimerId);
    scopeWindowOfTimer = nullptr;
}

void forgetWasapiWindow() { sink.forgetWindow(); }

// Listed again before the engine starts, so that the menu never asks the
// system itself.
void listWasapiEndpoints(bool render) {
    ComRef<IMMDeviceEnumerator> enumerator;
    if (SUCCEEDED(systemComFactory().createEnumerator(enumerator.put())))
        refreshKnownEndpoints(*enumerator.get(), render);
}

bool startWasapiEngine(const EngineConfig& config, const SignalOptions& options, bool trails, HWND repaintWindow) {
    if (engine.running()) return true;
    listWasapiEndpoints(config.loopback);
    sink.begin(repaintWindow, options, trails);
    return engine.start(config);
}

void stopWasapiEngine() { engine.stop(INFINITE); }

}  // namespace zembrit
