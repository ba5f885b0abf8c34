#pragma once
// Scripted stand-ins for the system's enumerator, endpoint, audio client and
// capture client, handed to the WASAPI engine through its factory.
#include <windows.h>
#include <audioclient.h>
#include <mmdeviceapi.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include "capture/wasapi/com_factory.h"

namespace zembrit_test {

struct Packet {
    std::vector<uint8_t> bytes;
    UINT32 frames = 0;
    DWORD flags = 0;
    HRESULT failure = S_OK;  // answered by GetNextPacketSize instead of the packet
};

// What every fake answers, and what they were asked. Guarded by lock where
// the engine's thread and the test both touch it.
struct AudioScript {
    std::mutex lock;
    HRESULT failDefault = S_OK;
    int failDefaultTimes = 0;  // then that many GetDefaultAudioEndpoint calls fail; -1: all
    HRESULT failGetService = S_OK;
    std::vector<uint8_t> mixFormat;  // a WAVEFORMATEX, extended or not
    std::deque<Packet> packets;
    std::vector<DWORD> openTicks;  // GetDefaultAudioEndpoint calls
    DWORD initializeFlags = 0;
    AUDCLNT_SHAREMODE shareMode = AUDCLNT_SHAREMODE_EXCLUSIVE;
    std::atomic<HANDLE> event{nullptr};
    std::atomic<IMMNotificationClient*> watcher{nullptr};
    std::atomic<int> liveObjects{0};
    std::atomic<int> looks{0};  // GetNextPacketSize calls: how often the engine looked for packets
    // While set, the audio client's Stop blocks until it is signalled, as a
    // hung audio service's does.
    std::atomic<HANDLE> stopGate{nullptr};

    // Queues a packet and wakes the engine as a device would.
    void push(Packet packet);
    size_t opens();
};

class FakeFactory final : public zembrit::ComFactory {
public:
    explicit FakeFactory(AudioScript& script) : script_(script) {}
    HRESULT createEnumerator(IMMDeviceEnumerator** enumerator) override;

private:
    AudioScript& script_;
};

// A mix format: tag WAVE_FORMAT_EXTENSIBLE with the subtype when extensible.
std::vector<uint8_t> mixFormat(bool isFloat, int bits, int channels, bool extensible);

}  // namespace zembrit_test
