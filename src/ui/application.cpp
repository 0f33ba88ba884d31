#include "ui/application.h"

#include "core/error_text.h"
#include "ui/exception.h"
#include "ui/form.h"
#include "ui/guarded_call.h"
#include "ui/message_box.h"
#include "ui/module_path.h"
#include "ui/text_conversion.h"

#include "core/sjis_boundary.h"

#include <commctrl.h>

#include <new>

namespace ui {

Application& Application::Instance() {
    static Application application;
    return application;
}

// The title is Shift_JIS like every text of the program, so the file name is read in UTF-16.
Application::Application() { SetTitle(DefaultTitle(ToShiftJis(WideModuleFileName()))); }

void Application::SetTitle(std::string title) {
    wideTitle_ = ToWide(title);
    title_ = std::move(title);
}

void Application::Initialize() {
    INITCOMMONCONTROLSEX controls{.dwSize = sizeof(INITCOMMONCONTROLSEX),
                                  .dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
}

std::string Application::DefaultTitle(std::string_view modulePath) {
    // The file name starts after the last path separator that is not the second byte of a
    // Shift_JIS character.
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < modulePath.size(); i += core::SjisCharacterLength(modulePath, i)) {
        const char c = modulePath[i];
        if (c == '\\' || c == '/' || c == ':') nameStart = i + 1;
    }
    std::string title;
    for (std::size_t i = nameStart; i < modulePath.size() && modulePath[i] != '.';) {
        const std::size_t length = core::SjisCharacterLength(modulePath, i);
        const char c = modulePath[i];
        if (!title.empty() && c >= 'A' && c <= 'Z') {
            title += static_cast<char>(c - 'A' + 'a');
        } else {
            title.append(modulePath.substr(i, length));
        }
        i += length;
    }
    return title;
}

void Application::Run(Form& mainForm, int showCommand) {
    mainForm_ = &mainForm;
    mainForm.Show(showCommand);
    MSG message;
    // The wide loop: a typed character reaches the Unicode windows whole, whatever the code page.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Deliver(message);
    mainForm_ = nullptr;
}

void Application::Deliver(MSG& message) {
    if (TakenByFilterOrDialog(message)) return;
    // Tab, the arrow keys and Enter move between the controls of whichever form has them.
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && dynamic_cast<Form*>(Window::FromHandle(root)) && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool Application::TakenByFilterOrDialog(const MSG& message) {
    const bool key = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (key && keyFilter_ && GuardedCall([&] { return keyFilter_(message); }, true)) return true;
    // By index: a dialog that closes on this message leaves the list within the call.
    for (std::size_t i = 0; i < modelessDialogs_.size(); ++i) {
        if (IsDialogMessageW(modelessDialogs_[i], const_cast<MSG*>(&message))) return true;
    }
    return false;
}

void Application::AddModelessDialog(HWND dialog) { modelessDialogs_.push_back(dialog); }

void Application::RemoveModelessDialog(HWND dialog) noexcept { std::erase(modelessDialogs_, dialog); }

void Application::SetBusy(bool busy) noexcept {
    busy_ = busy;
    // Shown at once; the forms keep it up at every move of the pointer (WM_SETCURSOR). Putting the
    // pointer where it is makes the window under it choose its own pointer again.
    if (busy) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    } else if (POINT at{}; GetCursorPos(&at)) {
        SetCursorPos(at.x, at.y);
    }
}

std::string Application::UserMessage(const std::exception_ptr& error) const {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& known) {
        return known.Message();
    } catch (const std::bad_alloc&) {
        return errorTexts_.outOfMemory;
    } catch (...) {
    }
    if (errorTexts_.describe) {
        if (std::optional<std::string> message = errorTexts_.describe(error)) return *std::move(message);
    }
    // Anything else carries no message the user could read: say what it means for them.
    return errorTexts_.internalError;
}

void Application::ShowException(const std::exception_ptr& error) noexcept {
    try {
        ShowMessageBox(nullptr, core::ErrorBoxText(UserMessage(error)), title_, MB_ICONSTOP | MB_OK | MB_TASKMODAL);
    } catch (...) {
        // No memory even for the texts: a box made of texts made in advance alone.
        MessageBoxW(nullptr, errorTexts_.outOfMemoryAlone.c_str(), wideTitle_.c_str(),
                    MB_ICONSTOP | MB_OK | MB_TASKMODAL);
    }
}

void Application::ShowMessage(std::string_view text) {
    // Without an owner the box is centred on the screen; task-modal keeps every window of the
    // program from taking input while it is open.
    ShowMessageBox(nullptr, text, title_, MB_OK | MB_TASKMODAL);
}

void ShowCurrentException() noexcept { App().ShowException(std::current_exception()); }

}  // namespace ui
