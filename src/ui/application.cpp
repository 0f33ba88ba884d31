#include "ui/application.h"

#include "core/error_text.h"
#include "ui/exception.h"
#include "ui/form.h"
#include "ui/guarded_call.h"
#include "ui/module_path.h"

#include <commctrl.h>

namespace ui {

Application& Application::Instance() {
    static Application application;
    return application;
}

Application::Application() : title_(DefaultTitle(ModuleFileName())) {}

void Application::Initialize() {
    INITCOMMONCONTROLSEX controls{.dwSize = sizeof(INITCOMMONCONTROLSEX),
                                  .dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

std::string Application::DefaultTitle(std::string_view modulePath) {
    // The file name starts after the last path separator that is not the second byte of a
    // Shift_JIS character.
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < modulePath.size(); ++i) {
        const char c = modulePath[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < modulePath.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            nameStart = i + 1;
        }
    }
    std::string title;
    for (std::size_t i = nameStart; i < modulePath.size() && modulePath[i] != '.'; ++i) {
        const char c = modulePath[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < modulePath.size()) {
            title += c;
            title += modulePath[++i];
        } else {
            title += (!title.empty() && c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return title;
}

void Application::Run(Form& mainForm, int showCommand) {
    mainForm_ = &mainForm;
    mainForm.Show(showCommand);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Tab, the arrow keys and Enter move between the controls of whichever form has them.
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && dynamic_cast<Form*>(Window::FromHandle(root)) && IsDialogMessageA(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    mainForm_ = nullptr;
}

void Application::ShowException(const std::exception_ptr& error) noexcept {
    std::string message;
    try {
        std::rethrow_exception(error);
    } catch (const Exception& known) {
        message = known.Message();
    } catch (...) {
        // Anything else carries no message the user could read.
    }
    try {
        MessageBoxA(nullptr, core::ErrorBoxText(message).c_str(), title_.c_str(),
                    MB_ICONSTOP | MB_OK | MB_TASKMODAL);
    } catch (...) {
        MessageBoxA(nullptr, "", title_.c_str(), MB_ICONSTOP | MB_OK | MB_TASKMODAL);
    }
}

void Application::ShowMessage(std::string_view text) {
    // Without an owner the box is centred on the screen; task-modal keeps every window of the
    // program from taking input while it is open.
    MessageBoxA(nullptr, std::string(text).c_str(), title_.c_str(), MB_OK | MB_TASKMODAL);
}

void ShowCurrentException() noexcept {
    App().ShowException(std::current_exception());
}

}  // namespace ui
