#pragma once

#include <windows.h>

#include <string>

namespace ui {

// The full path of a module's file (the program's by default), however long it is.
std::string ModuleFileName(HMODULE module = nullptr);
// The same in UTF-16, which holds any name whatever the system's code page.
std::wstring WideModuleFileName(HMODULE module = nullptr);

}  // namespace ui
