#pragma once
// The plugin's own module, as the loader knows it.
#include <windows.h>

namespace zembrit {

// Found from an address inside the module; null when the loader does not
// find it. flags are GetModuleHandleEx's besides "from an address": 0 takes
// a reference the caller frees, GET_MODULE_HANDLE_EX_FLAG_PIN keeps the
// module loaded for the life of the process, and
// GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT takes nothing.
HMODULE ownModule(DWORD flags);

}  // namespace zembrit
