#include "settings/virtual_screen.h"

#include <windows.h>

namespace zembrit {

ScreenExtent virtualScreen() {
    return ScreenExtent{GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace zembrit
