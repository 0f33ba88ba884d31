// What the main window tells the user about its text area, in the program's words.
#include "Main.h"

namespace {

constexpr const char* kTooMuchToCopy =
    "選択された文字が多すぎるため、クリップボードにコピーできません。少ない範囲を選択してください";
constexpr const char* kCopyFailed = "クリップボードにコピーできませんでした";
constexpr const char* kTextAreaFull =
    "受信テキストが多くなりました。一時ファイルが使えないため、これ以上はメモリに残せません。"
    "ファイルに保存してからクリアしてください";
constexpr const char* kOldestLinesDropped =
    "受信テキストがいっぱいになったため、古い行から削除しました。残したい受信テキストはファイルに保存してください";

const char* MessageFor(ui::TextAreaEvent event) {
    switch (event) {
    case ui::TextAreaEvent::Full: return kTextAreaFull;
    case ui::TextAreaEvent::LinesDropped: return kOldestLinesDropped;
    case ui::TextAreaEvent::TooMuchToCopy: return kTooMuchToCopy;
    case ui::TextAreaEvent::CopyFailed: return kCopyFailed;
    }
    return kCopyFailed;
}

}  // namespace

void TMainForm::Memo1Event(ui::TextAreaEvent event) { ui::App().ShowMessage(MessageFor(event)); }
