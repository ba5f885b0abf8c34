#include "host/text_file.h"

#include <windows.h>

#include <atomic>
#include <memory>

namespace standin {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle openFile(const char* path, DWORD access, DWORD disposition) {
    HANDLE handle = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

bool isMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Unique among this process's writers by the counter, and among processes
// by the process id.
std::string temporaryNameFor(const char* path) {
    static std::atomic<unsigned> written{0};
    return std::string(path) + "." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(++written) + ".tmp";
}

bool writeThrough(const std::string& path, const std::string& text) {
    FileHandle file = openFile(path.c_str(), GENERIC_WRITE, CREATE_NEW);
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size() && FlushFileBuffers(file.get());
}

}  // namespace

std::optional<std::string> readTextFile(const char* path) {
    if (!path || !*path) return std::string();
    FileHandle file = openFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!file) return isMissing(GetLastError()) ? std::optional<std::string>(std::string()) : std::nullopt;
    std::string text;
    char chunk[4096];
    DWORD count = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &count, nullptr)) {
        if (count == 0) return text;
        text.append(chunk, count);
    }
    return std::nullopt;
}

bool replaceTextFile(const char* path, const std::string& text) {
    if (!path || !*path) return false;
    const std::string temporary = temporaryNameFor(path);
    if (writeThrough(temporary, text) &&
        MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

}  // namespace standin
