// The shell's configuration-file functions: "key: value" lines, keys matched
// without regard to case, every write saved whole and atomically.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "host/config_text.h"
#include "host/shell.h"
#include "host/text_file.h"
#include "shell/shell_api.h"

namespace {

std::optional<std::string> storedValue(const char* path, const char* key) {
    standin::shellRecord.settingsReads.emplace_back(path ? path : "");
    if (!key) return std::nullopt;
    const auto text = standin::readTextFile(path);
    return text ? zembrit::shellfile::lookupValue(*text, key) : std::nullopt;
}

bool storeValue(const char* path, const char* key, const std::string& value) {
    standin::shellRecord.settingsWrites.push_back(std::string(path ? path : "") + "|" + (key ? key : "") + "|" + value);
    if (!key || !*key) return false;
    // A file that cannot be read is left alone: writing it from nothing but
    // this key would lose every other setting.
    const auto text = standin::readTextFile(path);
    return text && standin::replaceTextFile(path, zembrit::shellfile::withValue(*text, key, value));
}

}  // namespace

extern "C" {

__declspec(dllexport) bool ReadBool(const char* path, const char* key, bool defaultValue) {
    bool value = defaultValue;
    auto stored = storedValue(path, key);
    return stored && zembrit::shellfile::parseBoolValue(*stored, value) ? value : defaultValue;
}

__declspec(dllexport) int ReadInt(const char* path, const char* key, int defaultValue) {
    int32_t value = defaultValue;
    auto stored = storedValue(path, key);
    return stored && zembrit::shellfile::parseIntValue(*stored, value) ? value : defaultValue;
}

// The answer stays valid until the next call on this thread; callers copy it.
__declspec(dllexport) const char* ReadString(const char* path, const char* key, const char* defaultValue) {
    thread_local std::string answer;
    auto stored = storedValue(path, key);
    answer = stored ? *stored : (defaultValue ? defaultValue : "");
    return answer.c_str();
}

__declspec(dllexport) bool WriteBool(const char* path, const char* key, bool value) {
    return storeValue(path, key, value ? "true" : "false");
}

__declspec(dllexport) bool WriteInt(const char* path, const char* key, int value) {
    return storeValue(path, key, std::to_string(value));
}

__declspec(dllexport) bool WriteString(const char* path, const char* key, const char* value) {
    return storeValue(path, key, value ? value : "");
}

__declspec(dllexport) bool FileExists(const char* path) {
    if (!path || !*path) return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // extern "C"
