#include "commands/shell_windows.h"

namespace zembrit {
namespace {

HWND shell = nullptr;
HWND dock = nullptr;

}  // namespace

HWND shellWindow() { return shell; }
void setShellWindow(HWND window) { shell = window; }
HWND dockWindow() { return dock; }
void setDockWindow(HWND window) { dock = window; }

}  // namespace zembrit
