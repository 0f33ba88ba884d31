#include "error_box_watcher.h"

#include "dialog_user.h"

#include <windows.h>

namespace bench {

namespace {

// The static control that holds a message box's text.
constexpr int kMessageText = 0xFFFF;

}  // namespace

ErrorBoxWatcher::ErrorBoxWatcher() : thread([this] { Run(); }) {}

ErrorBoxWatcher::~ErrorBoxWatcher() {
    stop = true;
    thread.join();
}

std::string ErrorBoxWatcher::FirstText() const {
    std::lock_guard lock(guard);
    return firstText;
}

void ErrorBoxWatcher::Run() {
    // A box told to close stays on the screen for a moment; it is counted once.
    HWND lastClosed = nullptr;
    while (!stop) {
        for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner != GetCurrentProcessId() || !IsWindowVisible(box) || GetDlgItem(box, kFileNameBox) ||
                box == lastClosed)
                continue;
            char text[512] = {};
            GetDlgItemTextA(box, kMessageText, text, sizeof text);
            {
                std::lock_guard lock(guard);
                if (count == 0) firstText = text;
            }
            ++count;
            lastClosed = box;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        Sleep(20);
    }
}

}  // namespace bench
