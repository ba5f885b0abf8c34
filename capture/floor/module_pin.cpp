#include "capture/floor/module_pin.h"

#include "shell/own_module.h"

namespace zembrit {

void keepModuleLoaded() { ownModule(GET_MODULE_HANDLE_EX_FLAG_PIN); }

}  // namespace zembrit
