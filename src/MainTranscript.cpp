// Saving the received text to a file and loading a file into the text area.
#include "Main.h"

#include "local_clock.h"
#include "transcript_file.h"
#include "wide_path.h"

#include "core/date_time.h"
#include "core/file_work.h"
#include "core/text_area.h"
#include "core/text_mode.h"
#include "core/then_always.h"

#include "ui/text_conversion.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>

namespace {

constexpr const char* kWriteFailed = "ファイルの書き込みに失敗しました";
constexpr const char* kReadFailed = "ファイルの読み込みに失敗しました";
// The text goes to the file this much at a time, so that a slice can end between two steps.
constexpr std::size_t kSaveStepBytes = 1024 * 1024;
// A load hands the text area this much at a time rather than each chunk read: the view follows
// the end once for each, and lays out only the rows it shows there; the rows in between are
// counted now and laid out in the background later.
constexpr std::size_t kLoadAppendBytes = 2 * 1024 * 1024;

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

    SaveTranscript(SaveDialog1.FileName);
}

void TMainForm::LoadL1Click(ui::Object* /*Sender*/) {
    Search1.Cancel();
    // The file name stays: the dialog offers the file chosen last time.
    OpenDialog1.Filter = "TEXT files|*.txt";
    OpenDialog1.DefaultExt = "TXT";
    OpenDialog1.InitialDir = WidePath(AppDir);
    if (!OpenDialog1.Execute(Handle())) return;
    LoadTranscript(OpenDialog1.FileName);
}

void TMainForm::SaveTranscript(const std::wstring& path) {
    // Taken only now, so that what arrived while the dialog was open is saved too; what arrives
    // while the file is written is shown but not saved. Text still on its way to the text area is
    // part of the received text. The text goes out a step at a time, the window alive in between.
    const std::string pending = pendingText;
    const std::size_t textBytes = Memo1.TextSize();
    core::TextMark next(0, Memo1.Document().DroppedBytes());
    bool cancelled = false;
    bool written = false;
    RunFileWork(textBytes + pending.size(), [&](ui::WorkProgress& work) {
        const auto bytes = [&](const TranscriptSink& write) {
            bool afterCarriageReturn = false;
            std::string encoded;  // one buffer for every piece
            const auto save = [&](std::string_view piece) {
                encoded.clear();
                core::EncodeForSave(piece, afterCarriageReturn, encoded);
                if (!piece.empty()) afterCarriageReturn = piece.back() == '\r';
                return write(encoded);
            };
            for (std::size_t left = textBytes; left > 0;) {
                // Lines that left a full text before they were written cannot be saved any more.
                const std::optional<std::size_t> from = next.OffsetNow(Memo1.Document().DroppedBytes());
                const std::size_t step = std::min(left, kSaveStepBytes);
                if (!from || !Memo1.ScanText(*from, *from + step, save) || !work.Did(step)) return false;
                next.Advance(step);
                left -= step;
            }
            return save(pending) && work.Did(pending.size());
        };
        written = WriteTranscriptFile(path, bytes, [&work](void* flushed) { return work.WaitFor(flushed); });
        cancelled = work.Cancelled();
    });
    if (!written && !cancelled) ui::App().ShowMessage(kWriteFailed);
}

bool TMainForm::LoadTranscript(const std::wstring& path) {
    // The loaded lines follow text that waits for the text area (a first byte without its
    // partner), as if it were already in the text. The file goes in as it is read, a chunk at a
    // time; text received meanwhile waits behind it, and a cancel takes back what was added.
    const std::string taken = TakePendingText();
    const core::TextMark start(Memo1.TextSize(), Memo1.Document().DroppedBytes());
    std::string added = taken;
    std::string tail = Memo1.TextTail(2) + added;
    core::AddedLines lines(std::string_view(tail).substr(tail.size() > 2 ? tail.size() - 2 : 0));
    TranscriptReadResult result = TranscriptReadResult::CannotOpen;
    bool cancelled = false;
    holdReceivedText = true;
    core::ThenAlways(
        [&] {
            RunFileWork(TranscriptFileSize(path), [&](ui::WorkProgress& work) {
                const auto addChunk = [&](std::string_view chunk) {
                    const bool more = lines.Feed(chunk);
                    lines.MoveTo(added);
                    if (added.size() >= kLoadAppendBytes) {
                        Memo1.AppendText(added);
                        added.clear();
                    }
                    return more && work.Did(chunk.size());
                };
                result = ReadFileInChunks(path, addChunk);
                cancelled = work.Cancelled();
            });
        },
        [this] { holdReceivedText = false; });
    if (cancelled) {
        Memo1.TakeBackFrom(start.StartNow(Memo1.Document().DroppedBytes()));
        pendingText = taken + pendingText;
    } else if (result == TranscriptReadResult::CannotOpen) {
        // Nothing was read: the waiting text goes back where it was.
        pendingText = std::move(added) + pendingText;
        ui::App().ShowMessage(kReadFailed);
    } else {
        // The line that was being read when an error struck is left out.
        if (result == TranscriptReadResult::Complete) lines.Finish();
        lines.MoveTo(added);
        if (!added.empty()) Memo1.AppendText(added);
        if (result == TranscriptReadResult::Failed) ui::App().ShowMessage(kReadFailed);
    }
    // What arrived during the load follows it, in order.
    if (ShowPendingText()) Memo1.ScrollToEnd();
    return !cancelled;
}
