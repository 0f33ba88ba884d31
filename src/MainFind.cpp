// Find in the received text: the Find dialog, Find Next from the selection, F3 and Shift+F3, and
// the box that says a text was not found. While the dialog is open the text area holds its view,
// so the user can read back while data arrives.
#include "Main.h"

#include "core/search_pattern.h"
#include "ui/message_box.h"
#include "ui/text_conversion.h"

namespace {

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

void TMainForm::WireFind() {
    FindDialog1.OnFindNext = [this](const ui::FindOptions& options) { FindNext(options, options.down); };
    FindDialog1.OnClose = [this] {
        Search1.Cancel();
        Memo1.HoldForSearch(false);
    };
    Search1.OnNotFound = [this] { ShowNotFound(); };
    Memo1.OnEdit = [this] { Search1.Cancel(); };
    Memo1.ExtraMenuItems = {{.caption = "検索(&F)...", .onClick = [this](ui::Object* s) { FindF1Click(s); }}};
}

bool TMainForm::FindDialogMessage(UINT message, LPARAM lParam) {
    if (message != ui::FindDialog::Message()) return false;
    FindDialog1.Notify(lParam);
    return true;
}

void TMainForm::FindF1Click(ui::Object* /*Sender*/) {
    std::wstring proposal = lastFind ? lastFind->text : std::wstring();
    const core::TextSelection selection = Memo1.Document().Selected();
    if (selection.end - selection.start <= core::kLongestProposedText) {
        const std::string selected = Memo1.Read(selection.start, selection.end);
        if (core::IsShortLinePart(selected)) proposal = ui::ToWide(selected);
    }
    FindDialog1.Show(proposal);
    Memo1.HoldForSearch(true);
}

void TMainForm::FindNext(const ui::FindOptions& options, bool down) {
    lastFind = options;
    // A character Shift_JIS lacks is in no text the device sent.
    const std::optional<std::string> pattern = ui::ToShiftJisExactly(options.text);
    if (!pattern || pattern->empty()) {
        Search1.Cancel();
        return ShowNotFound();
    }
    const core::TextSelection selection = Memo1.Document().Selected();
    Search1.Start({.pattern = *pattern,
                   .matchCase = options.matchCase,
                   .direction = down ? core::SearchDirection::Down : core::SearchDirection::Up,
                   .from = down ? selection.end : selection.start});
}

void TMainForm::FindAgain(bool otherWay) {
    // Before any search there is nothing to repeat: the user is asked what to find.
    if (!lastFind) return FindF1Click(this);
    FindNext(*lastFind, lastFind->down != otherWay);
}

bool TMainForm::FindKeyDown(const MSG& message) {
    if (message.message != WM_KEYDOWN || !message.hwnd) return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root != Handle() && !(FindDialog1.IsOpen() && root == FindDialog1.Handle())) return false;
    if (message.wParam == 'F' && KeyDown(VK_CONTROL)) {
        FindF1Click(this);
        return true;
    }
    if (message.wParam == VK_F3 && !KeyDown(VK_CONTROL)) {
        FindAgain(KeyDown(VK_SHIFT));
        return true;
    }
    return false;
}

void TMainForm::ShowNotFound() {
    // Built in UTF-16: the search text may hold characters Shift_JIS lacks.
    const std::wstring text =
        ui::ToWide("「") + (lastFind ? lastFind->text : std::wstring()) + ui::ToWide("」が見つかりません。");
    const HWND owner = FindDialog1.IsOpen() ? FindDialog1.Handle() : Handle();
    ui::ShowMessageBox(owner, text, ui::App().Title(), MB_OK);
}
