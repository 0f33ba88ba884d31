#include "dialog_user.h"

#include "bench_clock.h"

#include <windows.h>

namespace bench {

DialogUser::DialogUser(std::string path) : path(std::move(path)), thread([this] { Run(); }) {}

DialogUser::~DialogUser() {
    stop = true;
    thread.join();
}

void DialogUser::Run() {
    while (!stop) {
        for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner != GetCurrentProcessId() || !IsWindowVisible(box) || !GetDlgItem(box, kFileNameBox)) continue;
            SendDlgItemMessageA(box, kFileNameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
            pressedAt = NowMs();
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            return;
        }
        Sleep(5);
    }
}

}  // namespace bench
