// Saving the received text to a file and loading a file into the text area.
#include "Main.h"

#include "transcript_file.h"
#include "wide_path.h"

#include "core/date_time.h"
#include "core/text_area.h"
#include "core/text_mode.h"

#include "ui/text_conversion.h"

#include <commdlg.h>

namespace {

constexpr const char* kWriteFailed = "ファイルの書き込みに失敗しました";
constexpr const char* kReadFailed = "ファイルの読み込みに失敗しました";

core::DateTime LocalNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return core::EncodeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

}  // namespace

void TMainForm::SaveS1Click(ui::Object* /*Sender*/) {
    SaveDialog1.InitialDir = WidePath(AppDir);
    SaveDialog1.FileName = ui::ToWide(core::TranscriptFileName(LocalNow()));
    SaveDialog1.Filter = "TXT files|*.txt";
    SaveDialog1.DefaultExt = "TXT";
    // An earlier transcript is only replaced when the user says so.
    SaveDialog1.Options = OFN_OVERWRITEPROMPT;
    if (!SaveDialog1.Execute(Handle())) return;

    // Taken only now, so that what arrived while the dialog was open is saved too. A first byte
    // still waiting for its partner is part of the received text.
    const std::string text = Memo1.Text() + heldTextByte;
    if (!WriteTranscriptFile(SaveDialog1.FileName, core::EncodeForSave(text))) {
        ui::App().ShowMessage(kWriteFailed);
    }
}

void TMainForm::LoadL1Click(ui::Object* /*Sender*/) {
    // The file name stays: the dialog offers the file chosen last time.
    OpenDialog1.Filter = "TEXT files|*.txt";
    OpenDialog1.DefaultExt = "TXT";
    OpenDialog1.InitialDir = WidePath(AppDir);
    if (!OpenDialog1.Execute(Handle())) return;

    const TranscriptLines read = ReadTranscriptFile(OpenDialog1.FileName);
    if (read.result == TranscriptReadResult::CannotOpen) {
        ui::App().ShowMessage(kReadFailed);
        return;
    }
    // The loaded lines follow a first byte that waits for its partner, as if it were already in
    // the text. One insertion for the whole file, so the text area lays it out once.
    std::string added = TakeHeldTextByte();
    std::string tail = Memo1.TextTail(2) + added;
    tail.erase(0, tail.size() > 2 ? tail.size() - 2 : 0);
    added += core::TextForAddedLines(tail, read.lines);
    if (!added.empty()) Memo1.AppendText(added);
    if (read.result == TranscriptReadResult::Failed) {
        ui::App().ShowMessage(kReadFailed);
    }
}
