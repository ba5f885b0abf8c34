// The WASAPI engine's thread: open, drain packets, and on any failure wait
// and open again, until stopped.
#include "capture/wasapi/wasapi_engine.h"

#include <audioclient.h>
#include <mmreg.h>

#include <memory>
#include <new>

#include "capture/floor/module_pin.h"
#include "capture/wasapi/com_ref.h"
#include "capture/wasapi/endpoint_names.h"
#include "capture/wasapi/packet_pacing.h"
#include "capture/wasapi/retry_schedule.h"

namespace zembrit {

struct EngineRun {
    EngineRun(ComFactory& factoryToUse, EngineSink& sinkToFeed, const EngineConfig& configToRun)
        : factory(&factoryToUse), sink(&sinkToFeed), config(configToRun) {}

    ComFactory* factory;
    EngineSink* sink;
    EngineConfig config;
    HANDLE stop = nullptr;    // manual-reset: the thread is to end
    HANDLE reopen = nullptr;  // auto-reset: the default endpoint changed
    HANDLE relist = nullptr;  // auto-reset: an endpoint came, went or changed state
    HANDLE buffer = nullptr;  // auto-reset: the audio client has packets
    HANDLE thread = nullptr;
    SpanAccumulator accumulator;
    // The thread and the engine each hold the run; the last to let go frees
    // it, so a thread that outlives its stop's wait frees its own.
    std::atomic<int> holders{2};
};

namespace {

// 40 ms in 100-ns units: more than one bounded wait. Wine reads ALSA in
// pieces of this size, and a file-backed ALSA device fails reads of 100 ms.
constexpr REFERENCE_TIME kBufferDuration = 400000;

// Mix format subtypes, defined here rather than linked from ksuser.
constexpr GUID kSubtypePcm = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID kSubtypeFloat = {0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct CoTaskFree {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};

std::optional<SourceLayout> mixFormatOf(const WAVEFORMATEX& format) {
    FormatTag tag = FormatTag::other;
    if (format.wFormatTag == WAVE_FORMAT_PCM) tag = FormatTag::pcm;
    if (format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT) tag = FormatTag::ieeeFloat;
    if (format.wFormatTag == WAVE_FORMAT_EXTENSIBLE &&
        format.cbSize >= sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX)) {
        const GUID& subtype = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format).SubFormat;
        if (IsEqualGUID(subtype, kSubtypePcm)) tag = FormatTag::pcm;
        if (IsEqualGUID(subtype, kSubtypeFloat)) tag = FormatTag::ieeeFloat;
    }
    std::optional<SourceLayout> layout = mixFormatFor(tag, format.wBitsPerSample, format.nChannels, format.nBlockAlign);
    if (layout) layout->framesPerSecond = format.nSamplesPerSec;
    return layout;
}

// Only ever on the engine thread's stack, which outlives its registration:
// the reference count is kept for COM's sake only.
class DefaultEndpointWatch final : public IMMNotificationClient {
public:
    DefaultEndpointWatch(EDataFlow flow, HANDLE reopen, HANDLE relist)
        : flow_(flow), reopen_(reopen), relist_(relist) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IMMNotificationClient))) {
            *object = static_cast<IMMNotificationClient*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    // Only wakes the engine: the callback runs on the system's thread and may
    // neither block nor open anything.
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override {
        if (flow == flow_ && role == eConsole) SetEvent(reopen_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return relist(); }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return relist(); }
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return relist(); }
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override { return S_OK; }

private:
    EDataFlow flow_;
    HRESULT relist() {
        SetEvent(relist_);
        return S_OK;
    }

    HANDLE reopen_;
    HANDLE relist_;
    std::atomic<ULONG> references_{1};
};

EDataFlow flowOf(const EngineConfig& config) { return config.loopback ? eRender : eCapture; }

// The stored device is an endpoint's identifier, or a friendly name.
bool endpointIs(IMMDevice& device, const wchar_t* nameOrId) {
    return lstrcmpiW(idOf(device).c_str(), nameOrId) == 0 || lstrcmpiW(friendlyNameOf(device).c_str(), nameOrId) == 0;
}

HRESULT findEndpoint(IMMDeviceEnumerator& enumerator, const EngineConfig& config, IMMDevice** endpoint) {
    if (!config.deviceName[0]) return enumerator.GetDefaultAudioEndpoint(flowOf(config), eConsole, endpoint);
    ComRef<IMMDeviceCollection> endpoints;
    HRESULT result = enumerator.EnumAudioEndpoints(flowOf(config), DEVICE_STATE_ACTIVE, endpoints.put());
    UINT count = 0;
    if (SUCCEEDED(result)) result = endpoints->GetCount(&count);
    if (FAILED(result)) return result;
    for (UINT i = 0; i < count; ++i) {
        ComRef<IMMDevice> candidate;
        if (SUCCEEDED(endpoints->Item(i, candidate.put())) && endpointIs(*candidate.get(), config.deviceName)) {
            *endpoint = candidate.release();
            return S_OK;
        }
    }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

// One opened stream, from its endpoint to its capture client.
class Stream {
public:
    explicit Stream(EngineRun& run) : run_(run) {}
    ~Stream() {
        if (started_) client_->Stop();
    }

    HRESULT open(IMMDeviceEnumerator& enumerator) {
        ComRef<IMMDevice> endpoint;
        HRESULT result = findEndpoint(enumerator, run_.config, endpoint.put());
        if (SUCCEEDED(result))
            result = endpoint->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, client_.putVoid());
        if (SUCCEEDED(result)) result = initialise();
        if (FAILED(result)) return result;
        run_.accumulator.reset(run_.config.points, run_.config.mode, run_.config.doubled);
        if (FAILED(result = client_->Start())) return result;
        started_ = true;
        return S_OK;
    }

    // Every packet waiting now, each released at once; packets counts them.
    HRESULT drain(uint32_t& packets) {
        UINT32 waiting = 0;
        HRESULT result;
        packets = 0;
        while (SUCCEEDED(result = capture_->GetNextPacketSize(&waiting)) && waiting > 0) {
            ++packets;
            BYTE* data = nullptr;
            UINT32 frames = 0;
            DWORD flags = 0;
            if (FAILED(result = capture_->GetBuffer(&data, &frames, &flags, nullptr, nullptr))) return result;
            hand(data, frames, flags);
            if (FAILED(result = capture_->ReleaseBuffer(frames))) return result;
        }
        return result;
    }

private:
    // Shared mode in the endpoint's own mix format, woken by the buffer event.
    HRESULT initialise() {
        WAVEFORMATEX* mix = nullptr;
        HRESULT result = client_->GetMixFormat(&mix);
        if (FAILED(result)) return result;
        const std::unique_ptr<WAVEFORMATEX, CoTaskFree> owned(mix);
        const std::optional<SourceLayout> format = mixFormatOf(*mix);
        if (!format) return AUDCLNT_E_UNSUPPORTED_FORMAT;
        format_ = *format;
        const DWORD loopback = run_.config.loopback ? AUDCLNT_STREAMFLAGS_LOOPBACK : 0;
        result = client_->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_EVENTCALLBACK | loopback,
                                     kBufferDuration, 0, mix, nullptr);
        if (SUCCEEDED(result)) result = client_->SetEventHandle(run_.buffer);
        if (SUCCEEDED(result)) result = client_->GetService(__uuidof(IAudioCaptureClient), capture_.putVoid());
        return result;
    }

    void hand(const BYTE* data, UINT32 frames, DWORD flags) {
        EngineSink& sink = *run_.sink;
        // The spans are mixed to 16 bits at the endpoint's own rate.
        auto deliver = [&sink, rate = format_.framesPerSecond](const uint8_t* bytes, uint32_t count,
                                                               SourceLayout layout) {
            layout.framesPerSecond = rate;
            sink.deliver(bytes, count, layout);
        };
        const bool silent = (flags & AUDCLNT_BUFFERFLAGS_SILENT) || !data;
        sink.packet(silent ? nullptr : data, frames, format_);
        if (silent)
            run_.accumulator.appendSilence(frames, deliver);
        else
            run_.accumulator.append(data, frames, format_, deliver);
    }

    EngineRun& run_;
    ComRef<IAudioClient> client_;
    ComRef<IAudioCaptureClient> capture_;
    SourceLayout format_{};
    bool started_ = false;
};

enum class Wake { stop, reopen, relist, other };

Wake waitFor(EngineRun& run, DWORD bound) {
    const HANDLE events[] = {run.stop, run.reopen, run.relist, run.buffer};
    switch (WaitForMultipleObjects(4, events, FALSE, bound)) {
    case WAIT_OBJECT_0: return Wake::stop;
    case WAIT_OBJECT_0 + 1: return Wake::reopen;
    case WAIT_OBJECT_0 + 2: return Wake::relist;
    case WAIT_OBJECT_0 + 3:
    case WAIT_TIMEOUT: return Wake::other;
    default: return Wake::stop;  // a wait that fails cannot pace anything
    }
}

// Captures until stopped (S_OK, stop set), a default change (S_OK) or a failure.
HRESULT captureOnce(EngineRun& run, IMMDeviceEnumerator& enumerator, bool& failing, RetrySchedule& retry) {
    Stream stream(run);
    HRESULT result = stream.open(enumerator);
    if (FAILED(result)) return result;
    if (failing) run.sink->stateChanged(EngineState::running, S_OK);
    failing = false;
    retry.reset();
    PacketPacing pacing;
    for (;;) {
        const Wake wake = waitFor(run, pacing.waitMs());
        if (wake == Wake::relist) refreshKnownEndpoints(enumerator, run.config.loopback);
        if (wake == Wake::stop || wake == Wake::reopen) return S_OK;
        uint32_t packets = 0;
        if (FAILED(result = stream.drain(packets))) return result;
        pacing.afterLooking(packets > 0);
    }
}

void captureUntilStopped(EngineRun& run, IMMDeviceEnumerator& enumerator) {
    bool failing = false;
    RetrySchedule retry;
    while (WaitForSingleObject(run.stop, 0) == WAIT_TIMEOUT) {
        const HRESULT result = captureOnce(run, enumerator, failing, retry);
        if (SUCCEEDED(result)) continue;
        if (!failing) run.sink->stateChanged(EngineState::retrying, result);
        failing = true;
        // A new default endpoint, or the named one arriving, may be the
        // cure: either ends the wait early.
        const HANDLE wakers[] = {run.stop, run.reopen, run.relist};
        if (WaitForMultipleObjects(3, wakers, FALSE, retry.nextDelayMs()) == WAIT_OBJECT_0 + 2)
            refreshKnownEndpoints(enumerator, run.config.loopback);
    }
}

void runWithEnumerator(EngineRun& run) {
    ComRef<IMMDeviceEnumerator> enumerator;
    HRESULT result = run.factory->createEnumerator(enumerator.put());
    if (FAILED(result)) {
        run.sink->stateChanged(EngineState::retrying, result);
        WaitForSingleObject(run.stop, INFINITE);
        return;
    }
    DefaultEndpointWatch watch(flowOf(run.config), run.reopen, run.relist);
    const bool watching = SUCCEEDED(enumerator->RegisterEndpointNotificationCallback(&watch));
    captureUntilStopped(run, *enumerator.get());
    if (watching) enumerator->UnregisterEndpointNotificationCallback(&watch);
}

void closeEvents(EngineRun& run) {
    for (HANDLE event : {run.stop, run.reopen, run.relist, run.buffer})
        if (event) CloseHandle(event);
}

void letGo(EngineRun* run) {
    if (--run->holders > 0) return;
    closeEvents(*run);
    delete run;
}

DWORD WINAPI engineThread(void* parameter) {
    EngineRun& run = *static_cast<EngineRun*>(parameter);
    // This thread's own apartment; the shell's thread is never touched.
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(initialised)) {
        runWithEnumerator(run);
        CoUninitialize();
    } else {
        run.sink->stateChanged(EngineState::retrying, initialised);
        WaitForSingleObject(run.stop, INFINITE);
    }
    letGo(&run);
    return 0;
}

}  // namespace

bool WasapiEngine::start(const EngineConfig& config) {
    if (run_) return true;
    auto run = std::unique_ptr<EngineRun>(new (std::nothrow) EngineRun(factory_, sink_, config));
    if (!run) return false;
    run->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    run->reopen = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    run->relist = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    run->buffer = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (run->stop && run->reopen && run->relist && run->buffer)
        run->thread = CreateThread(nullptr, 0, engineThread, run.get(), 0, nullptr);
    if (!run->thread) {
        closeEvents(*run);
        return false;
    }
    run_ = run.release();
    return true;
}

bool WasapiEngine::stop(DWORD joinBoundMs) {
    if (!run_) return true;
    EngineRun* run = std::exchange(run_, nullptr);
    SetEvent(run->stop);
    const bool ended = WaitForSingleObject(run->thread, joinBoundMs) == WAIT_OBJECT_0;
    CloseHandle(run->thread);
    if (!ended) keepModuleLoaded();  // the thread that did not end still runs this module's code
    letGo(run);
    return ended;
}

namespace {

class SystemComFactory final : public ComFactory {
public:
    HRESULT createEnumerator(IMMDeviceEnumerator** enumerator) override {
        return CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                reinterpret_cast<void**>(enumerator));
    }
};

}  // namespace

ComFactory& systemComFactory() {
    static SystemComFactory factory;
    return factory;
}

}  // namespace zembrit
