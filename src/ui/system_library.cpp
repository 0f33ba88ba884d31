#include "ui/system_library.h"

#include <string>
#include <string_view>

namespace ui {
namespace {

// A name with a folder or a drive in it would be loaded from there, whatever the search says.
bool IsBareFileName(std::wstring_view name) {
    return !name.empty() && name.find_first_of(L"\\/:") == std::wstring_view::npos;
}

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH];
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

bool RestrictDllSearchToSystemFolder() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // kernel32 is in every process from its start; asking for its handle loads nothing.
    const auto setDefaultDllDirectories =
        FindFunction<SetDefaultDllDirectoriesFunction>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    return setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

UniqueLibrary LoadSystemLibrary(const wchar_t* fileName) {
    if (!IsBareFileName(fileName)) return {};
    if (HMODULE module = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return UniqueLibrary(module);
    // A system without the search flags refuses them as an invalid parameter.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return {};
    return LoadSystemLibraryByPath(fileName);
}

UniqueLibrary LoadSystemLibraryByPath(const wchar_t* fileName) {
    const std::wstring folder = SystemFolder();
    if (!IsBareFileName(fileName) || folder.empty()) return {};
    const std::wstring path = folder + L"\\" + fileName;
    // The altered search looks for the DLL's own imports beside it, in the system folder, and never
    // in the program's folder.
    return UniqueLibrary(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace ui
