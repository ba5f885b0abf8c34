#pragma once
#include <windows.h>
#include <mmdeviceapi.h>

#include <string>

namespace zembrit {

// An endpoint's friendly name as Windows shows it, and its identifier;
// empty when it has none.
std::wstring friendlyNameOf(IMMDevice& endpoint);
std::wstring idOf(IMMDevice& endpoint);

// On a capture thread with COM initialised: lists the active endpoints that
// play (render) or record into the list the menu reads. A listing that fails
// keeps the one before.
void refreshKnownEndpoints(IMMDeviceEnumerator& enumerator, bool render);

}  // namespace zembrit
