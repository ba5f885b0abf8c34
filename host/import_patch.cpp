#include "host/import_patch.h"

#include <cstring>

namespace standin {
namespace {

template <class T>
T* at(HMODULE module, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

const IMAGE_IMPORT_DESCRIPTOR* findImports(HMODULE module, const char* dllName) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = at<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return nullptr;
    for (auto* entry = at<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress); entry->Name; ++entry)
        if (_stricmp(at<char>(module, entry->Name), dllName) == 0) return entry;
    return nullptr;
}

}  // namespace

void* patchImport(HMODULE module, const char* dllName, const char* function, void* replacement) {
    const IMAGE_IMPORT_DESCRIPTOR* imports = findImports(module, dllName);
    if (!imports || !imports->OriginalFirstThunk) return nullptr;
    auto* names = at<IMAGE_THUNK_DATA>(module, imports->OriginalFirstThunk);
    auto* slots = at<IMAGE_THUNK_DATA>(module, imports->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        auto* byName = at<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
        DWORD oldProtection;
        if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &oldProtection))
            return nullptr;
        void* previous = reinterpret_cast<void*>(slots->u1.Function);
        slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, oldProtection, &oldProtection);
        return previous;
    }
    return nullptr;
}

}  // namespace standin
