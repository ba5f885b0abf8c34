#pragma once
// The one place the WASAPI engine gets COM objects from. Everything else it
// uses comes out of the enumerator made here (endpoints from it, audio
// clients from endpoints, capture clients from audio clients), so a test
// that hands the engine a factory of scripted fakes controls all of it.
#include <windows.h>
#include <mmdeviceapi.h>

namespace zembrit {

class ComFactory {
public:
    // Called on the engine's thread, after it initialised COM for itself.
    virtual HRESULT createEnumerator(IMMDeviceEnumerator** enumerator) = 0;

protected:
    ~ComFactory() = default;
};

// The system's device enumerator.
ComFactory& systemComFactory();

}  // namespace zembrit
