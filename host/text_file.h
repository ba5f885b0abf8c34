#pragma once
#include <string>

namespace standin {

// The whole file, or an empty text when it cannot be read.
std::string readTextFile(const char* path);
// Replaces the file in one step through a temporary file beside it, so a
// crash in the middle leaves either the old or the new text, never half.
bool replaceTextFile(const char* path, const std::string& text);

}  // namespace standin
