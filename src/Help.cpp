#include "Help.h"

#include "Main.h"

#include "transcript_file.h"
#include "wide_path.h"
#include "ui/application.h"

#include <string>
#include <vector>

THelpForm* HelpForm = nullptr;

THelpForm::THelpForm(ui::Form* Owner)
    : ui::Form({.caption = "ヘルプ",
                .width = 483,
                .height = 204,
                .clientSize = true,
                // A single fixed border, the system menu and the close box only.
                .style = WS_CAPTION | WS_SYSMENU,
                .owner = Owner,
                .centreOnOwnerAtFirstShow = true,
                // The program's icon in the title bar, as in the main window.
                .iconResource = "MAINICON"}),
      Panel1(*this, {.align = ui::Align::Client, .bevel = ui::Bevel::Raised}),
      Button1(Panel1, {.bounds = {392, 168, 75, 25}, .caption = "閉じる"}),
      ListBox1(Panel1, {.bounds = {8, 8, 465, 153}, .itemHeight = 12}) {
    OnShow = [this](ui::Object* Sender) { FormShow(Sender); };
    Button1.OnClick = [this](ui::Object* Sender) { Button1Click(Sender); };
}

void THelpForm::FormShow(ui::Object* /*Sender*/) {
    // Every showing lists the file once, as it is now, not below the copies of earlier showings.
    ListBox1.Clear();
    // The help file is plain text read by the same rules as a transcript: one item per line.
    const TranscriptLines read = ReadTranscriptFile(WidePath(MainForm->AppDir + "readme.txt"));
    if (read.result == TranscriptReadResult::CannotOpen) {
        // The window still opens afterwards, with an empty list.
        ui::App().ShowMessage("ファイルの読み込みに失敗しました");
        return;
    }
    // A read error part way ends the list with the lines completed before it.
    AddLines(read.lines);
}

void THelpForm::AddLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) ListBox1.AddItem(line);
}

void THelpForm::Button1Click(ui::Object* /*Sender*/) { Close(); }
