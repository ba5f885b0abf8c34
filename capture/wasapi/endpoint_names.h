#pragma once
#include <windows.h>
#include <mmdeviceapi.h>

#include <string>
#include <vector>

namespace zembrit {

struct KnownEndpoint {
    std::wstring id;    // the system's identifier, unique and stable
    std::wstring name;  // the friendly name Windows shows; may repeat
};

// An endpoint's friendly name as Windows shows it, and its identifier;
// empty when it has none.
std::wstring friendlyNameOf(IMMDevice& endpoint);
std::wstring idOf(IMMDevice& endpoint);

// On a capture thread with COM initialised: lists the active endpoints that
// play (render) or record into the list the menu reads. A listing that fails
// keeps the one before.
void refreshKnownEndpoints(IMMDeviceEnumerator& enumerator, bool render);

// Any thread: the endpoints the last listing found, without asking the system.
std::vector<KnownEndpoint> knownEndpoints(bool render);

}  // namespace zembrit
