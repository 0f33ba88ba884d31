// Long file work with the window alive: while a save or a load runs, the window is busy (the
// user's input held, a busy cursor, no files taken by dropping), and transcripts dropped onto it
// from Explorer are loaded.
#include "Main.h"

#include "core/then_always.h"

#include "core/text_mode.h"

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> DroppedNames(HDROP drop) {
    std::vector<std::wstring> names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
        names.push_back(std::move(name));
    }
    return names;
}

// The cursor the window under the mouse shows of its own, once the busy one is no longer due.
void RestoreCursor() {
    POINT point;
    if (!GetCursorPos(&point)) return;
    HWND under = WindowFromPoint(point);
    if (!under || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) return;
    const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

}  // namespace

void TMainForm::RunFileWork(std::uint64_t totalBytes, const std::function<void(ui::WorkProgress&)>& work) {
    ui::WorkProgress progress(*this, StatusBar1, totalBytes);
    fileWork = &progress;
    DragAcceptFiles(Handle(), FALSE);
    Memo1.HoldBackgroundLayout(true);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const auto end = [this] {
        fileWork = nullptr;
        DragAcceptFiles(Handle(), TRUE);
        Memo1.HoldBackgroundLayout(false);
        RestoreCursor();
        if (closeHeld_) PostMessageW(Handle(), WM_CLOSE, 0, 0);
        closeHeld_ = false;
    };
    core::ThenAlways([&] { work(progress); }, end);
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (FindDialogMessage(message, lParam)) return 0;
    switch (message) {
    case WM_DROPFILES: FilesDropped(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_SETCURSOR:
        if (!fileWork) break;
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
    case WM_CLOSE:
        if (!fileWork) break;
        closeHeld_ = true;
        return 0;
    case WM_COMMAND:
        // A menu command sent from outside while the work runs is refused, as the menu is.
        if (fileWork && lParam == 0) return 0;
        break;
    default: break;
    }
    return ui::Form::HandleMessage(message, wParam, lParam);
}

void TMainForm::FilesDropped(HDROP drop) {
    const std::vector<std::wstring> names = DroppedNames(drop);
    DragFinish(drop);
    if (fileWork) return;
    // In Explorer's order; a cancel ends the files still to come as well.
    for (const std::wstring& name : names) {
        if (core::IsTextFileName(name) && !LoadTranscript(name)) return;
    }
}
