#pragma once
// The stand-in for the Norvane shell: enough of it to load the plugin, keep
// its files, show its menus and dock, and let tests see what happened.
#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct ShellOptions {
    std::string shellDir;   // what GetNorvanePath answers, ending in a backslash
    std::string styleFile;  // the current style file; empty: shellDir + "default.style"
    std::string editor = "notepad.exe";
    bool interactive = false;  // real popup menus and message boxes, programs started
};

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

struct Registration {
    HWND window;
    std::vector<UINT> messages;
};

// Everything a test may want to know about what the plugin asked of the shell.
struct ShellRecord {
    std::vector<Registration> registrations;
    std::vector<std::string> unregistrations;  // "hwnd:messages" of each HM_UNREGISTER
    std::vector<std::string> toolbarLabels;    // every HM_SETTOOLBARLABEL text, in order
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<std::string> dockEvents;  // "add" / "remove", in order
    std::vector<std::string> menuCalls;   // every MakeNamedMenu: "title|identifier|popup"
    std::string menuDump;                 // the tree of the last ShowMenu
    int menuShows = 0;                    // ShowMenu after a popup build
    int menuRefreshes = 0;                // ShowMenu after a refresh build
    std::vector<std::string> executed;    // "program|arguments" of each NRExecute
    std::vector<HWND> stickyWindows;
    std::vector<std::string> settingsReads;   // path of each Read* call
    std::vector<std::string> settingsWrites;  // "path|key|value" of each Write* call
    int snapRequests = 0;
};

extern ShellOptions shellOptions;
extern ShellRecord shellRecord;

bool createShellWindows(bool withDock);
void destroyShellWindows();
HWND shellMainWindow();
HWND shellDockWindow();

void loadStyle();
void broadcast(const char* command);
// Broadcasts from the message loop, as the shell does for a picked menu item.
void postBroadcast(const std::string& command);
void reconfigure();

// Runs the message loop of the calling thread for about `milliseconds`.
void pumpMessages(DWORD milliseconds);
// Saves what the window shows as a 24-bit BMP.
bool saveWindowBitmap(HWND window, const char* path);

}  // namespace standin
