#include "shell/own_module.h"

namespace zembrit {

HMODULE ownModule(DWORD flags) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | flags, reinterpret_cast<LPCSTR>(&ownModule),
                            &module))
        return nullptr;
    return module;
}

}  // namespace zembrit
