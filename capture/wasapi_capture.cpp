// The WASAPI engine wired to the scope: its windows go through the same
// reduction and frame throttle as wave-in, its state to the toolbar label,
// and a timer on the user-interface thread lets a silent source's trace
// decay to flat.
#include "capture/wasapi_capture.h"

#include <algorithm>
#include <atomic>

#include "capture/capture_state.h"
#include "capture/reduce_buffer.h"
#include "capture/silence_decay.h"
#include "capture/wasapi_engine.h"
#include "settings/settings_store.h"

namespace zembrit {
namespace {

constexpr UINT_PTR kDecayTimerId = 0x5A31;
// The longest gap between two windows the automatic gain counts as time:
// longer ones are silence, which the decay shows.
constexpr uint32_t kLongestGainStepMs = 500;

enum class Label : uint8_t { none, failing, recovered };

class ScopeSink final : public EngineSink {
public:
    // Before the engine's thread starts; the options and the signal state are
    // then the thread's alone until it ends.
    void begin(HWND window, const SignalOptions& options) {
        pendingLabel_.store(Label::none);
        lastSampleTick_.store(GetTickCount());
        window_.store(window);
        options_ = options;
        signal_ = SignalState{};
    }
    void forgetWindow() { window_.store(nullptr); }

    void deliver(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout) override {
        const uint32_t now = GetTickCount();
        const uint32_t elapsedMs = std::min(now - lastSampleTick_.exchange(now), kLongestGainStepMs);
        const SignalSource source{bytes, byteCount, layout, static_cast<float>(elapsedMs) / 1000.0f};
        if (showWindow(source, options_, signal_))
            if (HWND window = window_.load()) InvalidateRect(window, nullptr, FALSE);
    }

    // The label is sent from the user-interface thread: a message sent from
    // here could wait on a thread that is waiting for this one to end.
    void stateChanged(EngineState state, HRESULT) override {
        pendingLabel_.store(state == EngineState::running ? Label::recovered : Label::failing);
    }

    Label takeLabel() { return pendingLabel_.exchange(Label::none); }
    uint32_t lastSampleTick() const { return lastSampleTick_.load(); }

private:
    std::atomic<HWND> window_{nullptr};
    std::atomic<uint32_t> lastSampleTick_{0};
    std::atomic<Label> pendingLabel_{Label::none};
    SignalOptions options_;
    SignalState signal_;
};

ScopeSink sink;
WasapiEngine engine(systemComFactory(), sink);
SilenceDecay decay, rightDecay;
SourceReport reportTo = nullptr;
HWND scopeWindowOfTimer = nullptr;  // the window the decay timer runs on

void CALLBACK onDecayTimer(HWND window, UINT, UINT_PTR, DWORD) {
    if (const Label label = sink.takeLabel(); label != Label::none && reportTo)
        reportTo(label == Label::failing ? SourceHealth::failing : SourceHealth::capturingAgain);
    const auto interval = static_cast<uint32_t>(settings().frameIntervalMs.load());
    const uint32_t now = GetTickCount();
    const bool left = decay.step(now, sink.lastSampleTick(), interval, traceRow());
    const bool right = rightDecay.step(now, sink.lastSampleTick(), interval, rightTraceRow());
    if (left || right) InvalidateRect(window, nullptr, FALSE);
}

EngineConfig configFor(CaptureSource source, const SignalOptions& options) {
    const ScopeSettings& s = settings();
    EngineConfig config;
    config.loopback = source == CaptureSource::output;
    if (!MultiByteToWideChar(CP_ACP, 0, s.deviceName, -1, config.deviceName, kDeviceNameCapacity))
        config.deviceName[0] = L'\0';
    config.points = s.bufferPoints;
    config.mode = options.channels == ChannelMode::mono ? MixMode::mono : MixMode::firstTwo;
    config.doubled = options.trigger;
    return config;
}

}  // namespace

bool startWasapiCapture(CaptureSource source, HWND repaintWindow, SourceReport report) {
    if (engine.running()) return true;
    const SignalOptions options = signalOptionsOf(settings());
    sink.begin(repaintWindow, options);
    decay = SilenceDecay{};
    rightDecay = SilenceDecay{};
    reportTo = report;
    scopeWindowOfTimer = repaintWindow;
    if (!engine.start(configFor(source, options))) return false;
    // One tick per frame interval: enough for the glide, and under Wine every
    // tick costs a round trip to its server.
    const auto tickMs = static_cast<UINT>(std::max<int32_t>(settings().frameIntervalMs, USER_TIMER_MINIMUM));
    if (repaintWindow) SetTimer(repaintWindow, kDecayTimerId, tickMs, onDecayTimer);
    return true;
}

bool stopWasapiCapture() {
    if (scopeWindowOfTimer) KillTimer(scopeWindowOfTimer, kDecayTimerId);
    scopeWindowOfTimer = nullptr;
    return engine.stop();
}

bool wasapiCapturing() { return engine.running(); }

void forgetWasapiWindow() { sink.forgetWindow(); }

}  // namespace zembrit
