#include "capture/floor/module_pin.h"

#include <windows.h>

namespace zembrit {

void keepModuleLoaded() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&keepModuleLoaded), &self);
}

}  // namespace zembrit
