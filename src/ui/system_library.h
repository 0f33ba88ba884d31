// DLLs loaded while the program runs. The program's folder may be written by its user (the settings
// file lies there), so a DLL placed there under the name of a system DLL must never be loaded: the
// program imports only DLLs that Windows always takes from its own folder, and loads every other one
// here, from the system folder alone.
#pragma once

#include "ui/unique_handle.h"

#include <windows.h>

namespace ui {

struct LibraryTraits {
    using Handle = HMODULE;
    static HMODULE None() noexcept { return nullptr; }
    static void Release(HMODULE h) noexcept { FreeLibrary(h); }
};
using UniqueLibrary = UniqueHandle<LibraryTraits>;

// Makes every later load that names no folder, the program's own and those of the DLLs it loads,
// search the system folder alone. False where the system cannot (Windows 7 without its update of
// 2011); call it first thing, before anything is loaded.
bool RestrictDllSearchToSystemFolder();

// A DLL of the system by its bare file name ("version.dll"), from the system folder alone; empty
// when it is not there or cannot be loaded, and for a name that holds a folder.
UniqueLibrary LoadSystemLibrary(const wchar_t* fileName);
// The same through the full path into the system folder: the way of systems that lack the search
// flags, which LoadSystemLibrary takes there by itself.
UniqueLibrary LoadSystemLibraryByPath(const wchar_t* fileName);

// A function a module exports, as the caller's function type; nullptr when the module lacks it.
template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    // Through a plain function pointer: GCC warns on a direct cast between function types.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace ui
