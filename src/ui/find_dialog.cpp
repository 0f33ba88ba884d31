#include "ui/find_dialog.h"

#include "ui/application.h"
#include "ui/window.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace ui {

FindDialog::FindDialog(Window& owner) : owner_(owner) {
    request_.lStructSize = sizeof request_;
    request_.Flags = FR_DOWN;
    request_.lpstrFindWhat = text_.data();
    request_.wFindWhatLen = static_cast<WORD>(text_.size());
}

FindDialog::~FindDialog() { Close(); }

UINT FindDialog::Message() {
    static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
    return message;
}

void FindDialog::Show(std::wstring_view text) {
    if (dialog_) {
        SetForegroundWindow(dialog_);
        return;
    }
    const std::size_t length = std::min(text.size(), text_.size() - 1);
    std::copy_n(text.begin(), length, text_.begin());
    text_[length] = L'\0';
    request_.hwndOwner = owner_.Handle();
    // Japanese text has no word boundaries that whole-word matching could use.
    request_.Flags = (request_.Flags & (FR_DOWN | FR_MATCHCASE)) | FR_HIDEWHOLEWORD;
    dialog_ = FindTextW(&request_);
    if (!dialog_) throw std::runtime_error("FindTextW failed");
    App().AddModelessDialog(dialog_);
}

void FindDialog::Close() {
    if (!dialog_) return;
    HWND dialog = std::exchange(dialog_, nullptr);
    App().RemoveModelessDialog(dialog);
    DestroyWindow(dialog);
}

FindOptions FindDialog::Options() const {
    return {.text = text_.data(),
            .matchCase = (request_.Flags & FR_MATCHCASE) != 0,
            .down = (request_.Flags & FR_DOWN) != 0};
}

void FindDialog::Notify(LPARAM lParam) {
    const auto* request = reinterpret_cast<const FINDREPLACEW*>(lParam);
    if (request != &request_) return;
    if (request_.Flags & FR_DIALOGTERM) {
        // The dialog destroys itself after this message.
        App().RemoveModelessDialog(std::exchange(dialog_, nullptr));
        request_.Flags &= ~FR_DIALOGTERM;
        if (OnClose) OnClose();
        return;
    }
    if ((request_.Flags & FR_FINDNEXT) && OnFindNext) OnFindNext(Options());
}

}  // namespace ui
