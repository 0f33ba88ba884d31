#include "ui/message_pump.h"

#include "ui/application.h"

namespace ui {
namespace {

bool IsUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

bool IsWithin(HWND window, HWND held) { return window && (window == held || IsChild(held, window)); }

}  // namespace

bool RunWaitingMessages(HWND held, const std::function<void(WPARAM key)>& heldKey, Paints paints) {
    // Without PM_QS_PAINT the windows stay marked for painting and are painted on a later call.
    const UINT kinds = paints == Paints::Run ? 0 : PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | kinds)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (IsUserInput(message.message) && IsWithin(message.hwnd, held)) {
            if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) heldKey(message.wParam);
            continue;
        }
        App().Deliver(message);
    }
    return true;
}

}  // namespace ui
