#include "tests/wasapi/fake_audio.h"

#include <mmreg.h>

#include <cstring>

namespace zembrit_test {
namespace {

// Reference counting shared by every fake; each counts itself alive in the script.
template <class Interface>
class Fake : public Interface {
public:
    explicit Fake(AudioScript& script) : script_(script) { ++script_.liveObjects; }
    virtual ~Fake() { --script_.liveObjects; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!IsEqualIID(iid, __uuidof(IUnknown)) && !IsEqualIID(iid, __uuidof(Interface))) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    AudioScript& script_;

private:
    std::atomic<ULONG> references_{1};
};

class FakeCapture final : public Fake<IAudioCaptureClient> {
public:
    using Fake::Fake;
    HRESULT STDMETHODCALLTYPE GetNextPacketSize(UINT32* frames) override {
        std::lock_guard<std::mutex> guard(script_.lock);
        ++script_.looks;
        *frames = 0;
        if (script_.packets.empty()) return S_OK;
        if (const HRESULT failure = script_.packets.front().failure; FAILED(failure)) {
            script_.packets.pop_front();
            return failure;
        }
        *frames = script_.packets.front().frames;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** data, UINT32* frames, DWORD* flags, UINT64*, UINT64*) override {
        std::lock_guard<std::mutex> guard(script_.lock);
        held_ = std::move(script_.packets.front());
        script_.packets.pop_front();
        *data = held_.bytes.data();
        *frames = held_.frames;
        *flags = held_.flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReleaseBuffer(UINT32 frames) override {
        return frames == held_.frames ? S_OK : AUDCLNT_E_INVALID_SIZE;
    }

private:
    Packet held_;
};

class FakeClient final : public Fake<IAudioClient> {
public:
    using Fake::Fake;
    HRESULT STDMETHODCALLTYPE Initialize(AUDCLNT_SHAREMODE mode, DWORD flags, REFERENCE_TIME, REFERENCE_TIME,
                                         const WAVEFORMATEX*, LPCGUID) override {
        std::lock_guard<std::mutex> guard(script_.lock);
        script_.shareMode = mode;
        script_.initializeFlags = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBufferSize(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStreamLatency(REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCurrentPadding(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsFormatSupported(AUDCLNT_SHAREMODE, const WAVEFORMATEX*, WAVEFORMATEX**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMixFormat(WAVEFORMATEX** format) override {
        std::lock_guard<std::mutex> guard(script_.lock);
        void* copy = CoTaskMemAlloc(script_.mixFormat.size());
        std::memcpy(copy, script_.mixFormat.data(), script_.mixFormat.size());
        *format = static_cast<WAVEFORMATEX*>(copy);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevicePeriod(REFERENCE_TIME*, REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Start() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Stop() override {
        if (HANDLE gate = script_.stopGate) WaitForSingleObject(gate, 30000);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetEventHandle(HANDLE event) override {
        script_.event = event;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetService(REFIID iid, void** service) override {
        *service = nullptr;
        if (FAILED(script_.failGetService)) return script_.failGetService;
        if (!IsEqualIID(iid, __uuidof(IAudioCaptureClient))) return E_NOINTERFACE;
        *service = static_cast<IAudioCaptureClient*>(new FakeCapture(script_));
        return S_OK;
    }
};

class FakeEndpoint final : public Fake<IMMDevice> {
public:
    using Fake::Fake;
    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** object) override {
        *object = nullptr;
        if (!IsEqualIID(iid, __uuidof(IAudioClient))) return E_NOINTERFACE;
        *object = static_cast<IAudioClient*>(new FakeClient(script_));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD*) override { return E_NOTIMPL; }
};

class FakeEnumerator final : public Fake<IMMDeviceEnumerator> {
public:
    using Fake::Fake;
    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD, IMMDeviceCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow, ERole, IMMDevice** endpoint) override {
        std::lock_guard<std::mutex> guard(script_.lock);
        *endpoint = nullptr;
        script_.openTicks.push_back(GetTickCount());
        if (script_.failDefaultTimes != 0) {
            if (script_.failDefaultTimes > 0) --script_.failDefaultTimes;
            return script_.failDefault;
        }
        *endpoint = new FakeEndpoint(script_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* client) override {
        script_.watcher = client;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* client) override {
        return script_.watcher.exchange(nullptr) == client ? S_OK : E_INVALIDARG;
    }
};

}  // namespace

void AudioScript::push(Packet packet) {
    {
        std::lock_guard<std::mutex> guard(lock);
        packets.push_back(std::move(packet));
    }
    if (HANDLE wake = event.load()) SetEvent(wake);
}

size_t AudioScript::opens() {
    std::lock_guard<std::mutex> guard(lock);
    return openTicks.size();
}

HRESULT FakeFactory::createEnumerator(IMMDeviceEnumerator** enumerator) {
    *enumerator = new FakeEnumerator(script_);
    return S_OK;
}

std::vector<uint8_t> mixFormat(bool isFloat, int bits, int channels, bool extensible) {
    WAVEFORMATEXTENSIBLE format{};
    format.Format.wFormatTag = extensible ? WAVE_FORMAT_EXTENSIBLE : isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
    format.Format.nChannels = static_cast<WORD>(channels);
    format.Format.nSamplesPerSec = 48000;
    format.Format.wBitsPerSample = static_cast<WORD>(bits);
    format.Format.nBlockAlign = static_cast<WORD>(bits / 8 * channels);
    format.Format.nAvgBytesPerSec = 48000u * format.Format.nBlockAlign;
    format.Format.cbSize = extensible ? sizeof format - sizeof(WAVEFORMATEX) : 0;
    format.Samples.wValidBitsPerSample = static_cast<WORD>(bits);
    // The two subtypes differ in their first field only.
    format.SubFormat = {isFloat ? 3u : 1u, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    const auto* bytes = reinterpret_cast<const uint8_t*>(&format);
    return {bytes, bytes + (extensible ? sizeof format : sizeof(WAVEFORMATEX))};
}

}  // namespace zembrit_test
