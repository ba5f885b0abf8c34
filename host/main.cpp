// The stand-in shell as a program: loads the plugin, then carries out the
// command line's actions in order, e.g.
//   standin --plugin Zembrit.dll --dock --wait 2000 --broadcast "@ZembritInternal ToggleBlur"
//           --screenshot scope.bmp --quit
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/plugin_host.h"
#include "host/shell.h"
#include "shell/plugin_identity.h"

using namespace standin;

namespace {

struct Startup {
    std::string plugin;
    bool dock = false;
    bool timeActions = false;  // print how long each action and the plugin's end took
    DWORD lingerMs = 0;        // how long the shell stays after letting go of the plugin
    size_t firstAction = 0;
};

std::string directoryOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string programDirectory() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return directoryOf(path);
}

int usage() {
    std::fprintf(
        stderr,
        "usage: standin --plugin DLL [--shell-dir DIR] [--style FILE] [--dock] [--interactive] [--time-actions]\n"
        "               [--linger MS]\n"
        "               [--wait MS] [--wait-for FILE] [--broadcast TEXT] [--reconfigure] [--screenshot FILE.bmp]\n"
        "               [--frames COUNT INTERVAL_MS PREFIX] [--measure-cpu SECONDS] [--quit]\n");
    return 2;
}

bool parseStartup(const std::vector<std::string>& args, Startup& startup) {
    shellOptions.shellDir = programDirectory();
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool hasValue = i + 1 < args.size();
        if (arg == "--plugin" && hasValue)
            startup.plugin = args[++i];
        else if (arg == "--shell-dir" && hasValue)
            shellOptions.shellDir = args[++i];
        else if (arg == "--style" && hasValue)
            shellOptions.styleFile = args[++i];
        else if (arg == "--dock")
            startup.dock = true;
        else if (arg == "--interactive")
            shellOptions.interactive = true;
        else if (arg == "--time-actions")
            startup.timeActions = true;
        else if (arg == "--linger" && hasValue)
            startup.lingerMs = static_cast<DWORD>(std::atoi(args[++i].c_str()));
        else
            break;
    }
    if (!shellOptions.shellDir.empty() && shellOptions.shellDir.back() != '\\' && shellOptions.shellDir.back() != '/')
        shellOptions.shellDir += '\\';
    startup.firstAction = i;
    return !startup.plugin.empty();
}

HWND pluginWindow() { return FindWindowA(zembrit::kWindowClassName, nullptr); }

bool saveShot(const std::string& path) {
    HWND window = pluginWindow();
    bool saved = window && saveWindowBitmap(window, path.c_str());
    if (!saved) std::fprintf(stderr, "standin: could not save %s\n", path.c_str());
    return saved;
}

bool saveFrames(int count, int interval, const std::string& prefix) {
    for (int frame = 0; frame < count; ++frame) {
        pumpMessages(interval);
        char name[16];
        std::snprintf(name, sizeof name, "-%03d.bmp", frame);
        if (!saveShot(prefix + name)) return false;
    }
    return true;
}

// Runs the shell until the file exists (a script's go-ahead), a minute at most.
void waitForFile(const std::string& path) {
    const DWORD began = GetTickCount();
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount() - began < 60000)
        pumpMessages(20);
}

uint64_t processCpuMicroseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto micros = [](const FILETIME& time) {
        return ((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10;
    };
    return micros(kernel) + micros(user);
}

// Runs the shell for a while and prints the CPU time the whole process
// used meanwhile, for the cost measurements.
void measureCpu(int seconds) {
    uint64_t cpuBefore = processCpuMicroseconds();
    DWORD wallBefore = GetTickCount();
    pumpMessages(static_cast<DWORD>(seconds) * 1000);
    double cpuMs = (processCpuMicroseconds() - cpuBefore) / 1000.0;
    DWORD wallMs = GetTickCount() - wallBefore;
    std::printf("cpu: %.1f ms over %lu ms = %.3f%% of one core\n", cpuMs, static_cast<unsigned long>(wallMs),
                100.0 * cpuMs / wallMs);
    std::fflush(stdout);
}

// Returns false when an action failed or asked to quit.
bool runAction(const std::vector<std::string>& args, size_t& i, bool& failed) {
    const std::string& arg = args[i];
    auto value = [&](size_t ahead) -> const std::string* {
        return i + ahead < args.size() ? &args[i + ahead] : nullptr;
    };
    if (arg == "--quit") return false;
    if (arg == "--reconfigure") {
        reconfigure();
        return true;
    }
    if (arg == "--wait" && value(1)) {
        pumpMessages(std::atoi(value(1)->c_str()));
        i += 1;
        return true;
    }
    if (arg == "--wait-for" && value(1)) {
        waitForFile(*value(1));
        i += 1;
        return true;
    }
    if (arg == "--measure-cpu" && value(1)) {
        measureCpu(std::atoi(value(1)->c_str()));
        i += 1;
        return true;
    }
    if (arg == "--broadcast" && value(1)) {
        broadcast(value(1)->c_str());
        i += 1;
        return true;
    }
    if (arg == "--screenshot" && value(1)) {
        failed |= !saveShot(*value(1));
        i += 1;
        return true;
    }
    if (arg == "--frames" && value(3)) {
        failed |= !saveFrames(std::atoi(value(1)->c_str()), std::atoi(value(2)->c_str()), *value(3));
        i += 3;
        return true;
    }
    std::fprintf(stderr, "standin: unknown action %s\n", arg.c_str());
    failed = true;
    return false;
}

// One line per action: its words and how long the shell's thread spent on it.
void report(const std::vector<std::string>& args, size_t first, size_t last, DWORD milliseconds) {
    std::string words;
    for (size_t i = first; i <= last && i < args.size(); ++i) words += (i == first ? "" : " ") + args[i];
    std::printf("standin: %s took %lu ms\n", words.c_str(), static_cast<unsigned long>(milliseconds));
    std::fflush(stdout);
}

void runUntilClosed() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    Startup startup;
    if (!parseStartup(args, startup)) return usage();
    loadStyle();
    if (!createShellWindows(startup.dock)) {
        std::fprintf(stderr, "standin: cannot create the shell's windows (no display?)\n");
        return 1;
    }
    LoadedPlugin plugin;
    if (!loadPlugin(startup.plugin.c_str(), plugin)) {
        std::fprintf(stderr, "standin: cannot load %s\n", startup.plugin.c_str());
        return 1;
    }
    int started = startPlugin(plugin);
    std::printf("standin: %s started with result %d\n", plugin.info(0), started);
    bool failed = started != 0, quit = false;
    for (size_t i = startup.firstAction; i < args.size() && !quit; ++i) {
        const DWORD before = GetTickCount();
        const size_t first = i;
        quit = !runAction(args, i, failed);
        if (startup.timeActions) report(args, first, i, GetTickCount() - before);
    }
    if (!quit && !failed) runUntilClosed();
    for (const MessageBoxCall& box : shellRecord.messageBoxes) std::printf("message box: %s\n", box.text.c_str());
    const DWORD beforeEnd = GetTickCount();
    stopPlugin(plugin);
    if (startup.timeActions) {
        std::printf("standin: the plugin's end took %lu ms\n", static_cast<unsigned long>(GetTickCount() - beforeEnd));
        std::fflush(stdout);
    }
    unloadPlugin(plugin);
    // Threads the plugin left to finish late calls do so while the shell runs on.
    if (startup.lingerMs) pumpMessages(startup.lingerMs);
    destroyShellWindows();
    return failed ? 1 : 0;
}
