#include "ui_test_support.h"

namespace uitest {

HWND FindVisibleWindow(const char* className, const std::string& caption, DWORD processId) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, caption.c_str())) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

void PumpMessages(int milliseconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    MSG message;
    while (GetTickCount64() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
}

RECT BoundsInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) {
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

std::string WindowText(HWND window) {
    char buffer[4096] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

WindowWatcher::WindowWatcher(const char* className, std::string caption, std::function<void(HWND)> onFound,
                             int timeoutMs, DWORD processId)
    : thread_([this, className, caption = std::move(caption), onFound = std::move(onFound), timeoutMs, processId] {
          const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
          while (GetTickCount64() < end) {
              if (HWND window = FindVisibleWindow(className, caption, processId)) {
                  found_ = true;
                  onFound(window);
                  return;
              }
              Sleep(10);
          }
      }) {}

WindowWatcher::~WindowWatcher() {
    if (thread_.joinable()) thread_.join();
}

bool WindowWatcher::Wait() {
    if (thread_.joinable()) thread_.join();
    return found_;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::string caption, int button, Answer how, int timeoutMs, DWORD processId)
    : button_(button),
      how_(how),
      watcher_(
          "#32770", std::move(caption), [this](HWND box) { Respond(box); }, timeoutMs, processId) {}

const MessageBoxSeen& MessageBoxAnswerer::Wait() {
    seen_.found = watcher_.Wait();
    return seen_;
}

void MessageBoxAnswerer::Respond(HWND box) {
    char text[4096] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seen_.text = text;
    seen_.owner = GetWindow(box, GW_OWNER);
    GetWindowRect(box, &seen_.bounds);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        // The default button, which Enter presses, is the one drawn as the default.
        if (lstrcmpiA(className, "Button") == 0 && IsWindowVisible(child) &&
            (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            seen_.defaultButton = GetDlgCtrlID(child);
        }
        // The icon is a visible static control of the icon kind.
        if (lstrcmpiA(className, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child)) {
            seen_.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            seen_.hasIcon = seen_.icon != nullptr;
        }
    }
    if (how_ == Answer::PressEnter) {
        // The key goes to whatever has the focus in the box, as a real key press would.
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
        HWND target = info.hwndFocus ? info.hwndFocus : box;
        PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(target, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
    } else {
        HWND buttonWindow = GetDlgItem(box, button_);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), reinterpret_cast<LPARAM>(buttonWindow));
    }
}

}  // namespace uitest
