// A shell that exports only some of the functions the plugin needs. The
// plugin must refuse to start, naming the first missing one, and create
// nothing. Prints what happened for the test to match.
#include <windows.h>

#include <cstdio>
#include <string>

#include "host/import_patch.h"

extern "C" {
__declspec(dllexport) bool ReadBool(const char*, const char*, bool value) { return value; }
__declspec(dllexport) int ReadInt(const char*, const char*, int value) { return value; }
__declspec(dllexport) const char* ReadString(const char*, const char*, const char* value) { return value; }
}

namespace {

std::string seen;

BOOL CALLBACK countScope(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    *reinterpret_cast<bool*>(found) |= std::string(name) == "Zembrit";
    return TRUE;
}

// Only this thread's windows: other tests may run scopes on the same desktop.
bool scopeWindowLeft() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), countScope, reinterpret_cast<LPARAM>(&found));
    return found;
}

int WINAPI recordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    char line[512];
    std::snprintf(line, sizeof line, "box owner=%p caption=[%s] topmost=%d error=%d text=[%s]\n",
                  static_cast<void*>(owner), caption, (type & MB_TOPMOST) != 0, (type & MB_ICONMASK) == MB_ICONERROR,
                  text);
    seen += line;
    return IDOK;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HMODULE plugin = LoadLibraryA(argv[1]);
    if (!plugin) return 3;
    standin::patchImport(plugin, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(recordBox));
    auto begin = reinterpret_cast<int (*)(HINSTANCE)>(reinterpret_cast<void*>(GetProcAddress(plugin, "beginPlugin")));
    int result = begin(plugin);
    WNDCLASSA windowClass;
    bool classLeft = GetClassInfoA(plugin, "Zembrit", &windowClass);
    std::printf("%sresult=%d window=%d class=%d\n", seen.c_str(), result, scopeWindowLeft(), classLeft);
    FreeLibrary(plugin);
    return 0;
}
