#pragma once
// Shared-mode WASAPI capture on a thread of its own: the default (or a
// named) input, or loopback of the default output, mixed and gathered into
// trace spans for a sink. It follows default-device changes and reopens
// after any failure with a growing delay; it never shows a box.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "settings/capture_source.h"
#include "capture/wasapi/com_factory.h"
#include "capture/wasapi/sample_mix.h"

namespace zembrit {

enum class EngineState : uint8_t { opening, running, retrying };

// Called on the engine's thread; neither may block.
class EngineSink {
public:
    // One full span of 16-bit frames (1 or 2 channels, see MixMode).
    virtual void deliver(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout) = 0;
    // Each packet as the endpoint delivered it, before any mixing, in its
    // mix format; bytes is null for a packet of silence. A sink that only
    // wants spans leaves it be.
    virtual void packet(const uint8_t* /*bytes*/, uint32_t /*frames*/, const SourceLayout& /*format*/) {}
    // running after an open succeeded; retrying when one failed or a running
    // capture broke, with the failure.
    virtual void stateChanged(EngineState state, HRESULT reason) = 0;

protected:
    ~EngineSink() = default;
};

struct EngineConfig {
    bool loopback = false;                          // the default output's mix instead of an input
    wchar_t deviceName[kDeviceNameCapacity] = L"";  // empty: the default endpoint
    int points = 32;
    MixMode mode = MixMode::mono;
    bool doubled = false;  // two trace spans per delivery, for the trigger
};

struct EngineRun;

class WasapiEngine {
public:
    WasapiEngine(ComFactory& factory, EngineSink& sink) : factory_(factory), sink_(sink) {}
    WasapiEngine(const WasapiEngine&) = delete;
    WasapiEngine& operator=(const WasapiEngine&) = delete;
    ~WasapiEngine() { stop(); }

    // False when the thread or its events could not be made; opening and
    // its failures happen on the thread.
    bool start(const EngineConfig& config);
    // Ends the thread, waiting for it at most joinBoundMs; false when it did
    // not end (the module then stays loaded, and the thread frees what it
    // ran on when it does end).
    bool stop(DWORD joinBoundMs = 3000);
    bool running() const { return run_ != nullptr; }

private:
    ComFactory& factory_;
    EngineSink& sink_;
    EngineRun* run_ = nullptr;
};

}  // namespace zembrit
