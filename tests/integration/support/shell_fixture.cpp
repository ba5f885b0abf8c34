#include "tests/integration/support/shell_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/config_text.h"

namespace zembrit_test {

std::string programDirectory() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

void ShellFixture::SetUp() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    root = std::string(temp) + "zembrit-" + std::to_string(GetCurrentProcessId()) + "-" + test->name() + "\\";
    pluginDir = root + "plugin\\";
    shellDir = root + "shell\\";
    std::filesystem::create_directories(pluginDir);
    std::filesystem::create_directories(shellDir);
    ASSERT_TRUE(CopyFileA((programDirectory() + "Zembrit.dll").c_str(), (pluginDir + "Zembrit.dll").c_str(), FALSE));
    writeShellFile("default.style", readFile(programDirectory() + "default.style"));

    standin::shellRecord = {};
    standin::shellOptions = {};
    standin::shellOptions.shellDir = shellDir;
    standin::loadStyle();
    ASSERT_TRUE(standin::createShellWindows(withDock())) << "no display for the shell's windows";
}

void ShellFixture::TearDown() {
    end();
    standin::unloadPlugin(plugin);
    standin::destroyShellWindows();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

bool ShellFixture::load() {
    if (plugin.module) return true;
    if (standin::loadPlugin((pluginDir + "Zembrit.dll").c_str(), plugin)) return true;
    ADD_FAILURE() << "cannot load the plugin";
    return false;
}

int ShellFixture::start() {
    if (!load()) return -1;
    int result = standin::startPlugin(plugin);
    started = true;
    return result;
}

int ShellFixture::startQuiet(const std::string& lines) {
    writeConfig(kQuiet + lines);
    return start();
}

void ShellFixture::end() {
    if (!started) return;
    standin::stopPlugin(plugin);
    started = false;
}

void ShellFixture::writePluginFile(const char* name, const std::string& text) { writeFile(pluginDir + name, text); }
void ShellFixture::writeShellFile(const char* name, const std::string& text) { writeFile(shellDir + name, text); }
std::string ShellFixture::readPluginFile(const char* name) const { return readFile(pluginDir + name); }

std::string ShellFixture::configValue(const char* key) const {
    return zembrit::shellfile::lookupValue(readPluginFile("Zembrit.rc"), key).value_or("<missing>");
}

namespace {

struct WindowSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM search) {
    auto& wanted = *reinterpret_cast<WindowSearch*>(search);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == wanted.className)
        wanted.found = window;
    else
        EnumChildWindows(window, visitWindow, search);
    return wanted.found == nullptr;
}

}  // namespace

// Tests run in parallel on one desktop: look only at this thread's windows
// (the dock's children included), never at another test's scope.
HWND threadWindowOfClass(const char* className) {
    WindowSearch search{className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ShellFixture::scopeWindow() const { return threadWindowOfClass("Zembrit"); }

}  // namespace zembrit_test
