#include "commands/shell_windows.h"

namespace zembrit {
namespace {

HWND shell = nullptr;

}  // namespace

HWND shellWindow() { return shell; }
void setShellWindow(HWND window) { shell = window; }

}  // namespace zembrit
