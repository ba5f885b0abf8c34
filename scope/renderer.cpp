#include "scope/renderer.h"

#include <windows.h>

#include "plugin/plugin_state.h"

namespace zembrit {

void paintScope() {
    PAINTSTRUCT paint;
    BeginPaint(scopeWindow, &paint);
    EndPaint(scopeWindow, &paint);
}

}  // namespace zembrit
