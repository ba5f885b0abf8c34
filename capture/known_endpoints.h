#pragma once
// The endpoints a WASAPI source last listed, for the Device menu: reading
// them never asks the audio system.
#include <string>
#include <vector>

namespace zembrit {

struct KnownEndpoint {
    std::wstring id;    // the system's identifier, unique and stable
    std::wstring name;  // the friendly name Windows shows; may repeat
};

// Any thread: the endpoints that play (render) or record, as the last
// listing found them.
std::vector<KnownEndpoint> knownEndpoints(bool render);

}  // namespace zembrit
