#include "shell/shell_api.h"

namespace zembrit {

ShellApi shellApi;

namespace {

template <class Pointer>
bool bindOne(HMODULE shell, const char* name, Pointer& slot) {
    slot = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(shell, name)));
    return slot != nullptr;
}

}  // namespace

const char* bindShellApi() {
    HMODULE shell = GetModuleHandleA(nullptr);
    ShellApi bound;
#define ZEMBRIT_BIND(name)                                                                                             \
    if (!bindOne(shell, #name, bound.name)) return #name;
    ZEMBRIT_SHELL_FUNCTIONS(ZEMBRIT_BIND)
#undef ZEMBRIT_BIND
    shellApi = bound;
    return nullptr;
}

}  // namespace zembrit
