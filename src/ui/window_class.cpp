#include "ui/window_class.h"

#include "ui/text_conversion.h"

#include <mutex>
#include <set>
#include <string>

namespace ui {

const char* RegisterWindowClass(const WindowClassArgs& args) {
    static std::mutex guard;
    static std::set<std::string> registered;
    const std::lock_guard lock(guard);
    if (registered.contains(args.name)) return args.name;
    const std::wstring name = ToWide(args.name);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = args.style;
    windowClass.lpfnWndProc = args.procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, args.cursor);
    windowClass.hbrBackground = args.background;
    windowClass.lpszClassName = name.c_str();
    // A class that cannot be registered shows as the window that cannot be created.
    if (RegisterClassExW(&windowClass) != 0) registered.insert(args.name);
    return args.name;
}

}  // namespace ui
