#include "plugin/host_api.h"

namespace zembrit {

HostApi host;

namespace {

template <class Pointer>
bool bindOne(HMODULE shell, const char* name, Pointer& slot) {
    slot = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(shell, name)));
    return slot != nullptr;
}

}  // namespace

const char* bindHostApi() {
    HMODULE shell = GetModuleHandleA(nullptr);
    HostApi bound;
#define ZEMBRIT_BIND(name)                                                                                             \
    if (!bindOne(shell, #name, bound.name)) return #name;
    ZEMBRIT_HOST_FUNCTIONS(ZEMBRIT_BIND)
#undef ZEMBRIT_BIND
    host = bound;
    return nullptr;
}

}  // namespace zembrit
