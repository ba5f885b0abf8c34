// The cost of one paint of the scope window: the plugin runs in the stand-in
// shell with capture off, and each forced repaint (invalidate, then WM_PAINT
// delivered and handled at once) is timed on its own. At each size the
// paints without motion blur, with it, and with the beam (and its blur's
// glow) take turns in blocks, so that a change of the machine's load during
// the run weighs on all alike.
//   paint_bench [PAINTS]          PAINTS per size and mode, 2000 by default
//   paint_bench --worst [PAINTS]  the costliest settings instead, at the
//                                 largest window the screen allows, with the
//                                 bench's float input ("In: zembrit_float",
//                                 tests/wine/bench-up.sh) captured through
//                                 WASAPI: an X-Y figure of 1,600 pairs, the
//                                 widest line, automatic gain; 200 paints by
//                                 default. Fed loud noise, its every stroke
//                                 crosses the window.
// Runs from the build folder, where Zembrit.dll and default.style lie.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/plugin_host.h"
#include "host/shell.h"

namespace {

struct Case {
    int width, height;
};

constexpr Case kCases[] = {{100, 25}, {400, 100}, {1600, 200}};
constexpr int kWarmUpPaints = 50;
constexpr int kBlocks = 20;

std::string programDirectory() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1);
}

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Larger than any screen: the plugin keeps the window within the screen.
constexpr Case kLargest = {100000, 100000};
constexpr char kWorstSettings[] =
    "Zembrit.plugin.wave.StartWaveMonitorOnStartUp: true\n"
    "Zembrit.plugin.wave.source: input\nZembrit.plugin.wave.device: In: zembrit_float\n"
    "Zembrit.plugin.channels: xy\nZembrit.plugin.autogain: true\nZembrit.plugin.wave.buffsize: 100\n"
    "Zembrit.plugin.style.scopeWidth: 2147483647\n";

void writeConfig(const std::string& pluginDir, const Case& c, bool worst) {
    writeText(pluginDir + "Zembrit.rc",
              std::string(worst ? kWorstSettings : "Zembrit.plugin.wave.StartWaveMonitorOnStartUp: false\n") +
                  "Zembrit.plugin.x: 0\nZembrit.plugin.y: " + (worst ? "0" : "100") +
                  "\n"
                  "Zembrit.plugin.width: " +
                  std::to_string(c.width) +
                  "\n"
                  "Zembrit.plugin.height: " +
                  std::to_string(c.height) + "\n");
}

HWND ownScopeWindow() {
    for (HWND window = FindWindowExA(nullptr, nullptr, "Zembrit", nullptr); window;
         window = FindWindowExA(nullptr, window, "Zembrit", nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

double percentile(std::vector<double> values, double fraction) {
    size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<ptrdiff_t>(index), values.end());
    return values[index];
}

// Appends the microseconds of each of `paints` forced repaints.
void timePaints(HWND window, int paints, std::vector<double>& micros) {
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < kWarmUpPaints; ++i) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    for (int i = 0; i < paints; ++i) {
        QueryPerformanceCounter(&before);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        QueryPerformanceCounter(&after);
        micros.push_back(1e6 * static_cast<double>(after.QuadPart - before.QuadPart) /
                         static_cast<double>(frequency.QuadPart));
    }
}

void report(const RECT& client, const char* mode, const std::vector<double>& micros) {
    std::printf("%4ld x %-4ld %-8s median %8.1f us   p10 %8.1f   p90 %8.1f   max %8.1f   (%zu paints)\n", client.right,
                client.bottom, mode, percentile(micros, 0.5), percentile(micros, 0.1), percentile(micros, 0.9),
                percentile(micros, 1.0), micros.size());
}

bool runCase(const standin::LoadedPlugin& plugin, const std::string& pluginDir, const Case& c, int paints, bool worst) {
    writeConfig(pluginDir, c, worst);
    if (standin::startPlugin(plugin) != 0) return false;
    standin::pumpMessages(50);
    HWND window = ownScopeWindow();
    if (!window) return false;
    RECT client;
    GetClientRect(window, &client);
    std::vector<double> copied, blended, beam;
    for (int block = 0; block < kBlocks; ++block) {
        timePaints(window, std::max(1, paints / kBlocks), copied);
        standin::broadcast("@ZembritInternal ToggleBlur");
        timePaints(window, std::max(1, paints / kBlocks), blended);
        standin::broadcast("@ZembritInternal Beam");
        timePaints(window, std::max(1, paints / kBlocks), beam);
        standin::broadcast("@ZembritInternal Beam");
        standin::broadcast("@ZembritInternal ToggleBlur");
    }
    report(client, "blur off", copied);
    report(client, "blur on", blended);
    report(client, "beam", beam);
    std::printf("%4ld x %-4ld blur on / off: %.2f   beam / off: %.2f\n", client.right, client.bottom,
                percentile(blended, 0.5) / percentile(copied, 0.5), percentile(beam, 0.5) / percentile(copied, 0.5));
    standin::stopPlugin(plugin);
    // A capture that failed leaves the trace flat: the figures would not be the ones asked for.
    for (const standin::MessageBoxCall& box : standin::shellRecord.messageBoxes)
        std::printf("message box: %s\n", box.text.c_str());
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool worst = argc > 1 && std::string(argv[1]) == "--worst";
    const int paintsArgument = worst ? 2 : 1;
    const int paints = argc > paintsArgument ? std::max(1, std::atoi(argv[paintsArgument])) : (worst ? 200 : 2000);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "zembrit-paint-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string pluginDir = root + "plugin\\", shellDir = root + "shell\\";
    std::filesystem::create_directories(pluginDir);
    std::filesystem::create_directories(shellDir);
    const std::string here = programDirectory();
    if (!CopyFileA((here + "Zembrit.dll").c_str(), (pluginDir + "Zembrit.dll").c_str(), FALSE) ||
        !CopyFileA((here + "default.style").c_str(), (shellDir + "default.style").c_str(), FALSE)) {
        std::fprintf(stderr, "paint_bench: Zembrit.dll and default.style must lie beside the program\n");
        return 1;
    }
    standin::shellOptions.shellDir = shellDir;
    standin::loadStyle();
    standin::LoadedPlugin plugin;
    int failures = 0;
    if (!standin::createShellWindows(false) || !standin::loadPlugin((pluginDir + "Zembrit.dll").c_str(), plugin)) {
        std::fprintf(stderr, "paint_bench: cannot start the shell or load the plugin\n");
        failures = 1;
    }
    const std::vector<Case> cases =
        worst ? std::vector<Case>{kLargest} : std::vector<Case>(std::begin(kCases), std::end(kCases));
    for (const Case& c : cases)
        if (!failures && !runCase(plugin, pluginDir, c, paints, worst)) {
            std::fprintf(stderr, "paint_bench: the plugin did not start at %d x %d\n", c.width, c.height);
            failures = 1;
        }
    standin::unloadPlugin(plugin);
    standin::destroyShellWindows();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return failures;
}
