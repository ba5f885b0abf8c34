#pragma once
#include <windows.h>
#include <mmdeviceapi.h>

#include <string>
#include <vector>

namespace zembrit {

// An endpoint's friendly name as Windows shows it; empty when it has none.
std::wstring friendlyNameOf(IMMDevice& endpoint);

// The friendly names of the active endpoints that play (render) or record,
// asked on a thread of their own so that the caller's COM apartment is never
// touched; empty when they cannot be had within about a second.
std::vector<std::string> activeEndpointNames(bool render);

}  // namespace zembrit
