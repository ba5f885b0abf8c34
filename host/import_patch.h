#pragma once
#include <windows.h>

namespace standin {

// Points a module's import of dllName!function at replacement. Returns the
// function it called before, or nullptr when the module imports no such
// function. Lets the shell stand between a plugin and a system call.
void* patchImport(HMODULE module, const char* dllName, const char* function, void* replacement);

}  // namespace standin
