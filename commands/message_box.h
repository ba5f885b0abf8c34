#pragma once
#include <windows.h>

namespace zembrit {

// Every failure the user must know about: modal, top-most, error icon.
void showError(const char* text, HWND owner = nullptr);

}  // namespace zembrit
