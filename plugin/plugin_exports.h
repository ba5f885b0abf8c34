#pragma once
// The entry points the shell calls. cdecl with undecorated names on both
// architectures (the module definition file keeps i686 names plain).
#include <windows.h>

extern "C" {
int beginPlugin(HINSTANCE instance);
int beginSlitPlugin(HINSTANCE instance, HWND dock);
int beginPluginEx(HINSTANCE instance, HWND dock);
void endPlugin(HINSTANCE instance);
const char* pluginInfo(int field);
}
