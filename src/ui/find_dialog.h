// The system's Find dialog (comdlg32), modeless and owned by a form: the text sought, match case,
// up or down, Find Next and Cancel; whole words are not offered. It stays open until the user
// closes it. The owner hands the dialog's registered message (Message()) to Notify, which turns it
// into OnFindNext or OnClose.
#pragma once

#include "ui/object.h"

#include <windows.h>

#include <commdlg.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace ui {

class Window;

struct FindOptions {
    std::wstring text{};
    bool matchCase = false;
    bool down = true;
};

class FindDialog : public Object {
public:
    explicit FindDialog(Window& owner);
    ~FindDialog() override;
    FindDialog(const FindDialog&) = delete;
    FindDialog& operator=(const FindDialog&) = delete;

    // The message the dialog sends its owner, registered once per process.
    static UINT Message();

    std::function<void(const FindOptions&)> OnFindNext;
    std::function<void()> OnClose;

    // Opens the dialog with this text (longer ones are cut) and the last choices, or brings the
    // open one to the front as it is.
    void Show(std::wstring_view text);
    void Close();
    bool IsOpen() const noexcept { return dialog_ != nullptr; }
    HWND Handle() const noexcept { return dialog_; }
    // What the dialog holds now, or held when it closed.
    FindOptions Options() const;

    // The owner's message of the dialog: a Find Next, or the dialog closing.
    void Notify(LPARAM lParam);

private:
    Window& owner_;
    HWND dialog_ = nullptr;
    // The dialog reads and writes these as long as it is open.
    FINDREPLACEW request_{};
    std::array<wchar_t, 256> text_{};
};

}  // namespace ui
