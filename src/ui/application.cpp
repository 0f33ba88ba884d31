#include "ui/application.h"

#include "core/error_text.h"
#include "ui/exception.h"
#include "ui/form.h"
#include "ui/guarded_call.h"
#include "ui/message_box.h"
#include "ui/module_path.h"
#include "ui/text_conversion.h"

#include "core/sjis_boundary.h"

#include "core/text_store.h"

#include <commctrl.h>

#include <new>

namespace ui {
namespace {

// What the user reads for the failures that carry no message of the program's own.
constexpr const char* kOutOfMemory = "メモリが不足しています。受信テキストをファイルに保存してからクリアしてください";
constexpr const char* kPageFileUnreadable = "一時ファイルから受信テキストを読み込めませんでした";
constexpr const char* kInternalError = "内部エラーが発生しました";

}  // namespace

Application& Application::Instance() {
    static Application application;
    return application;
}

// The title is Shift_JIS like every text of the program, so the file name is read in UTF-16.
Application::Application() : title_(DefaultTitle(ToShiftJis(WideModuleFileName()))) {}

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
        if (core::IsSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < modulePath.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            nameStart = i + 1;
        }
    }
    std::string title;
    for (std::size_t i = nameStart; i < modulePath.size() && modulePath[i] != '.'; ++i) {
        const char c = modulePath[i];
        if (core::IsSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < modulePath.size()) {
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
    // The wide loop: a typed character reaches the Unicode windows whole, whatever the code page.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, the arrow keys and Enter move between the controls of whichever form has them.
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && dynamic_cast<Form*>(Window::FromHandle(root)) && IsDialogMessageW(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    mainForm_ = nullptr;
}

void Application::ShowException(const std::exception_ptr& error) noexcept {
    std::string message;
    try {
        std::rethrow_exception(error);
    } catch (const Exception& known) {
        message = known.Message();
    } catch (const std::bad_alloc&) {
        message = kOutOfMemory;
    } catch (const core::PageReadError&) {
        message = kPageFileUnreadable;
    } catch (...) {
        // Anything else carries no message the user could read: say what it means for them.
        message = kInternalError;
    }
    try {
        ShowMessageBox(nullptr, core::ErrorBoxText(message), title_, MB_ICONSTOP | MB_OK | MB_TASKMODAL);
    } catch (...) {
        // No memory even for the texts: a box made of fixed texts alone.
        MessageBoxW(nullptr, L"メモリが不足しています。", L"Varnedo", MB_ICONSTOP | MB_OK | MB_TASKMODAL);
    }
}

void Application::ShowMessage(std::string_view text) {
    // Without an owner the box is centred on the screen; task-modal keeps every window of the
    // program from taking input while it is open.
    ShowMessageBox(nullptr, text, title_, MB_OK | MB_TASKMODAL);
}

void ShowCurrentException() noexcept { App().ShowException(std::current_exception()); }

}  // namespace ui
