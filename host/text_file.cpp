#include "host/text_file.h"

#include <windows.h>

#include <cstdio>

namespace standin {

std::string readTextFile(const char* path) {
    std::string text;
    if (!path || !*path) return text;
    FILE* file = std::fopen(path, "rb");
    if (!file) return text;
    char chunk[4096];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, count);
    std::fclose(file);
    return text;
}

bool replaceTextFile(const char* path, const std::string& text) {
    if (!path || !*path) return false;
    std::string temporary = std::string(path) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written && MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

}  // namespace standin
