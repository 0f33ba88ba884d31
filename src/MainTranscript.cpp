// Saving the received text to a file and loading a file into the text area.
#include "Main.h"

#include "local_clock.h"
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

}  // namespace

void TMainForm::SaveS1Click(ui::Object* /*Sender*/) {
    Search1.Cancel();
    SaveDialog1.InitialDir = WidePath(AppDir);
    SaveDialog1.FileName = ui::ToWide(core::TranscriptFileName(LocalNow()));
    SaveDialog1.Filter = "TXT files|*.txt";
    SaveDialog1.DefaultExt = "TXT";
    // An earlier transcript is only replaced when the user says so.
    SaveDialog1.Options = OFN_OVERWRITEPROMPT;
    if (!SaveDialog1.Execute(Handle())) return;

    // Taken only now, so that what arrived while the dialog was open is saved too. Text still on
    // its way to the text area is part of the received text. The text goes out a block at a time.
    const auto bytes = [this](const TranscriptSink& write) {
        bool afterCarriageReturn = false;
        const auto save = [&](std::string_view piece) {
            const bool written = write(core::EncodeForSave(piece, afterCarriageReturn));
            if (!piece.empty()) afterCarriageReturn = piece.back() == '\r';
            return written;
        };
        return Memo1.ForEachPiece(save) && save(pendingText);
    };
    if (!WriteTranscriptFile(SaveDialog1.FileName, bytes)) {
        ui::App().ShowMessage(kWriteFailed);
    }
}

void TMainForm::LoadL1Click(ui::Object* /*Sender*/) {
    Search1.Cancel();
    // The file name stays: the dialog offers the file chosen last time.
    OpenDialog1.Filter = "TEXT files|*.txt";
    OpenDialog1.DefaultExt = "TXT";
    OpenDialog1.InitialDir = WidePath(AppDir);
    if (!OpenDialog1.Execute(Handle())) return;

    // The loaded lines follow text that waits for the text area (a first byte without its
    // partner), as if it were already in the text. The file goes in as it is read, a chunk at a
    // time, and shows once the command ends.
    std::string added = TakePendingText();
    std::string tail = Memo1.TextTail(2) + added;
    core::AddedLines lines(std::string_view(tail).substr(tail.size() > 2 ? tail.size() - 2 : 0));
    const auto addChunk = [&](std::string_view chunk) {
        const bool more = lines.Feed(chunk);
        added += lines.Take();
        if (!added.empty()) Memo1.AppendText(added);
        added.clear();
        return more;
    };
    const TranscriptReadResult result = ReadFileInChunks(OpenDialog1.FileName, addChunk);
    if (result == TranscriptReadResult::CannotOpen) {
        // Nothing was read: the waiting text goes back where it was.
        pendingText = std::move(added) + pendingText;
        ui::App().ShowMessage(kReadFailed);
        return;
    }
    // The line that was being read when an error struck is left out.
    if (result == TranscriptReadResult::Complete) lines.Finish();
    added += lines.Take();
    if (!added.empty()) Memo1.AppendText(added);
    if (result == TranscriptReadResult::Failed) {
        ui::App().ShowMessage(kReadFailed);
    }
}
