#include "ui/module_path.h"

namespace ui {
namespace {

// Paths longer than MAX_PATH exist (\\?\ prefixes, deep folders); the buffer grows until the name fits.
template <typename Text, typename GetName>
Text GrownModuleFileName(GetName getName) {
    Text path(MAX_PATH, typename Text::value_type{});
    for (;;) {
        const DWORD length = getName(path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::string ModuleFileName(HMODULE module) {
    return GrownModuleFileName<std::string>(
        [module](char* buffer, DWORD size) { return GetModuleFileNameA(module, buffer, size); });
}

std::wstring WideModuleFileName(HMODULE module) {
    return GrownModuleFileName<std::wstring>(
        [module](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(module, buffer, size); });
}

}  // namespace ui
