#pragma once
#include <optional>
#include <string>

namespace standin {

// The whole file; an empty text when it does not exist; nothing when it
// exists but cannot be read, so that no caller mistakes it for an empty file.
std::optional<std::string> readTextFile(const char* path);
// Replaces the file in one step through a temporary file of its own beside
// it, written through to the disk first, so a crash in the middle leaves
// either the old or the new text, never half, and two writers never share
// a temporary file.
bool replaceTextFile(const char* path, const std::string& text);

}  // namespace standin
