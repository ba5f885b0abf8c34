#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "host/plugin_host.h"
#include "host/shell.h"

namespace zembrit_test {

// A configuration line that keeps capture from starting with the plugin.
inline constexpr char kQuiet[] = "Zembrit.plugin.wave.StartWaveMonitorOnStartUp: false\n";

// One stand-in shell per test, with the plugin copied into a scratch folder
// of its own so that its configuration file is the test's alone.
class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    virtual bool withDock() const { return false; }

    // Loads the plugin from its scratch folder; start() loads it when needed
    // and starts it like the shell.
    bool load();
    int start();
    // Starts with capture stopped (kQuiet), after the given configuration lines.
    int startQuiet(const std::string& lines = "");
    void end();

    void writePluginFile(const char* name, const std::string& text);
    void writeShellFile(const char* name, const std::string& text);
    std::string readPluginFile(const char* name) const;
    std::string configValue(const char* key) const;  // from the plugin folder's Zembrit.rc
    void writeConfig(const std::string& lines) { writePluginFile("Zembrit.rc", lines); }

    HWND scopeWindow() const;
    void pump(DWORD milliseconds = 50) { standin::pumpMessages(milliseconds); }

    std::string root, pluginDir, shellDir;
    standin::LoadedPlugin plugin;
    bool started = false;
};

class DockedShellFixture : public ShellFixture {
protected:
    bool withDock() const override { return true; }
};

std::string programDirectory();
HWND threadWindowOfClass(const char* className);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);

}  // namespace zembrit_test
