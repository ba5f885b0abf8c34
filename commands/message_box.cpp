#include "commands/message_box.h"

#include "shell/plugin_identity.h"

namespace zembrit {

void showError(const char* text, HWND owner) {
    MessageBoxA(owner, text, kPluginCaption, MB_OK | MB_TOPMOST | MB_ICONERROR);
}

}  // namespace zembrit
