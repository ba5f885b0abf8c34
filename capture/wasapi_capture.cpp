// The WASAPI engine wired to the scope: its windows go through the same
// reduction and frame throttle as wave-in, its state to the toolbar label,
// and a timer on the user-interface thread lets a silent source's trace
// decay to flat.
#include "capture/wasapi_capture.h"

#include <algorithm>
#include <atomic>

#include "capture/reduce_buffer.h"
#include "capture/silence_decay.h"
#include "capture/trace_points.h"
#include "capture/wasapi_engine.h"
#include "plugin/host_api.h"
#include "plugin/plugin_state.h"
#include "settings/settings_store.h"

namespace zembrit {
namespace {

constexpr UINT_PTR kDecayTimerId = 0x5A31;
constexpr char kFailingLabel[] = "ZembritPlugin -> sound source unavailable, retrying";
constexpr char kRecoveredLabel[] = "ZembritPlugin -> sound source capturing again";

enum class Label : uint8_t { none, failing, recovered };

class ScopeSink final : public EngineSink {
public:
    void begin(HWND window) {
        pendingLabel_.store(Label::none);
        lastSampleTick_.store(GetTickCount());
        window_.store(window);
    }
    void forgetWindow() { window_.store(nullptr); }

    void deliver(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout) override {
        lastSampleTick_.store(GetTickCount());
        if (reduceSamples(bytes, byteCount, layout))
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
};

ScopeSink sink;
WasapiEngine engine(systemComFactory(), sink);
SilenceDecay decay;

void CALLBACK onDecayTimer(HWND window, UINT, UINT_PTR, DWORD) {
    if (const Label label = sink.takeLabel(); label != Label::none)
        SendMessageA(hostWindow, HM_SETTOOLBARLABEL, 0,
                     reinterpret_cast<LPARAM>(label == Label::failing ? kFailingLabel : kRecoveredLabel));
    const auto interval = static_cast<uint32_t>(settings.frameIntervalMs.load());
    if (decay.step(GetTickCount(), sink.lastSampleTick(), interval, TracePoints))
        InvalidateRect(window, nullptr, FALSE);
}

EngineConfig configFor(CaptureSource source) {
    EngineConfig config;
    config.loopback = source == CaptureSource::output;
    if (!MultiByteToWideChar(CP_ACP, 0, settings.deviceName, -1, config.deviceName, kDeviceNameCapacity))
        config.deviceName[0] = L'\0';
    config.points = settings.bufferPoints;
    return config;
}

}  // namespace

bool startWasapiCapture(CaptureSource source) {
    if (engine.running()) return true;
    sink.begin(scopeWindow);
    decay = SilenceDecay{};
    if (!engine.start(configFor(source))) return false;
    // One tick per frame interval: enough for the glide, and under Wine every
    // tick costs a round trip to its server.
    const auto tickMs = static_cast<UINT>(std::max<int32_t>(settings.frameIntervalMs, USER_TIMER_MINIMUM));
    if (scopeWindow) SetTimer(scopeWindow, kDecayTimerId, tickMs, onDecayTimer);
    return true;
}

bool stopWasapiCapture() {
    if (scopeWindow) KillTimer(scopeWindow, kDecayTimerId);
    return engine.stop();
}

bool wasapiCapturing() { return engine.running(); }

void forgetWasapiWindow() { sink.forgetWindow(); }

}  // namespace zembrit
