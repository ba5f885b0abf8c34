#pragma once
// The boundary between the Norvane shell and its plugins: the functions the
// shell exports (cdecl, undecorated names), the entry points it calls in a
// plugin, and the window messages they exchange. The stand-in shell defines
// the shell's functions; the plugin only looks them up at start-up and calls
// them through `shellApi`. Nothing of the plugin's own is included here.
#include <windows.h>

// The shell's menus are opaque to plugins; the shell defines the type.
struct ShellMenu;
using ShellMenuHandle = ShellMenu*;

// The plugin's entry points. cdecl with undecorated names on both
// architectures (the module definition file keeps i686 names plain).
extern "C" {
int beginPlugin(HINSTANCE instance);
int beginSlitPlugin(HINSTANCE instance, HWND dock);
int beginPluginEx(HINSTANCE instance, HWND dock);
void endPlugin(HINSTANCE instance);
const char* pluginInfo(int field);
}

extern "C" {
bool ReadBool(const char* path, const char* key, bool defaultValue);
int ReadInt(const char* path, const char* key, int defaultValue);
const char* ReadString(const char* path, const char* key, const char* defaultValue);
bool WriteBool(const char* path, const char* key, bool value);
bool WriteInt(const char* path, const char* key, int value);
bool WriteString(const char* path, const char* key, const char* value);
bool FileExists(const char* path);
bool GetNorvanePath(char* buffer, int size);
bool GetNorvaneEditor(char* buffer);
HINSTANCE NRExecute(HWND owner, const char* verb, const char* program, const char* arguments, const char* directory,
                    int showCommand, bool quiet);
HWND GetNRWnd();
void* GetSettingPtr(int index);
const char* stylePath(const char* other);
COLORREF ReadColor(const char* path, const char* key, const char* defaultValue);
void MakeStyleGradient(HDC dc, RECT* rect, void* styleRecord, bool border);
void MakeSticky(HWND window);
void RemoveSticky(HWND window);
void SnapWindowToEdge(WINDOWPOS* pending, int distance, int flag);
ShellMenuHandle MakeNamedMenu(const char* title, const char* identifier, bool popup);
void MakeMenuItem(ShellMenuHandle menu, const char* label, const char* command, bool checked);
void MakeMenuItemInt(ShellMenuHandle menu, const char* label, const char* command, int value, int minimum, int maximum);
void MakeMenuNOP(ShellMenuHandle menu, const char* label);
void MakeSubmenu(ShellMenuHandle parent, ShellMenuHandle child, const char* title);
void ShowMenu(ShellMenuHandle menu);
}

// Every shell function the plugin calls, in one list so that binding and
// declaring can never drift apart.
#define ZEMBRIT_SHELL_FUNCTIONS(X)                                                                                     \
    X(ReadBool)                                                                                                        \
    X(ReadInt)                                                                                                         \
    X(ReadString)                                                                                                      \
    X(WriteBool)                                                                                                       \
    X(WriteInt)                                                                                                        \
    X(WriteString)                                                                                                     \
    X(FileExists)                                                                                                      \
    X(GetNorvanePath)                                                                                                  \
    X(GetNorvaneEditor)                                                                                                \
    X(NRExecute)                                                                                                       \
    X(GetNRWnd)                                                                                                        \
    X(GetSettingPtr)                                                                                                   \
    X(stylePath)                                                                                                       \
    X(ReadColor)                                                                                                       \
    X(MakeStyleGradient)                                                                                               \
    X(MakeSticky)                                                                                                      \
    X(RemoveSticky)                                                                                                    \
    X(SnapWindowToEdge)                                                                                                \
    X(MakeNamedMenu)                                                                                                   \
    X(MakeMenuItem)                                                                                                    \
    X(MakeMenuItemInt)                                                                                                 \
    X(MakeMenuNOP)                                                                                                     \
    X(MakeSubmenu)                                                                                                     \
    X(ShowMenu)

namespace zembrit {

enum ShellMessage : UINT {
    HM_REGISTER = 10001,
    HM_UNREGISTER = 10002,
    HM_RECONFIGURE = 10103,
    HM_SETTOOLBARLABEL = 10304,
    HM_BROADCAST = 10901,
    SLIT_ADD = 11001,
    SLIT_REMOVE = 11002,
};

// The zero-terminated list of messages a plugin window asks the shell for.
inline const UINT kRegisteredMessages[] = {HM_RECONFIGURE, HM_BROADCAST, 0};

enum SettingIndex : int {
    kSettingStyleRecord = 1,
    kSettingBorderWidth = 12,
    kSettingBorderColor = 13,
    kSettingInnerMargin = 14,
};

constexpr int kStyleRecordSize = 300;
constexpr int kStyleRecordFillOffset = 16;  // COLORREF filling the corner tab
constexpr int kShellPathCapacity = 260;

struct ShellApi {
#define ZEMBRIT_SHELL_POINTER(name) decltype(&::name) name = nullptr;
    ZEMBRIT_SHELL_FUNCTIONS(ZEMBRIT_SHELL_POINTER)
#undef ZEMBRIT_SHELL_POINTER
};

extern ShellApi shellApi;

// Looks every shell function up among the exports of the program that loaded
// the plugin. Returns nullptr when all were found, else the first missing
// name; `shellApi` is then left empty so that nothing can call through it.
const char* bindShellApi();

}  // namespace zembrit
