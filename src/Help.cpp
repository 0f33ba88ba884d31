#include "Help.h"

#include "Main.h"

#include "core/text_mode.h"
#include "ui/application.h"
#include "ui/unique_handle.h"

#include <string>
#include <vector>

THelpForm* HelpForm = nullptr;

namespace {

// Big enough that a usual help file is read in one go; lines longer than this still make one item.
constexpr DWORD kReadChunkSize = 16 * 1024;

}  // namespace

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
    const std::string path = MainForm->AppDir + "readme.txt";
    ui::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // A device or a pipe in the file's place might never end and would freeze the program.
    if (file && GetFileType(file.get()) != FILE_TYPE_DISK) file.reset();
    if (!file) {
        // The window still opens afterwards, with an empty list.
        ui::App().ShowMessage("ファイルの読み込みに失敗しました");
        return;
    }

    core::LineReader reader;
    std::vector<char> chunk(kReadChunkSize);
    for (;;) {
        DWORD got = 0;
        // A read error ends the list with the lines completed before it; a line it cut short is left out.
        if (!ReadFile(file.get(), chunk.data(), kReadChunkSize, &got, nullptr)) break;
        if (got == 0) {
            reader.Finish();
            break;
        }
        reader.Feed({chunk.data(), got});
        if (reader.Ended()) {
            reader.Finish();
            break;
        }
        AddLines(reader.TakeLines());
    }
    AddLines(reader.TakeLines());
}

void THelpForm::AddLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) ListBox1.AddItem(line);
}

void THelpForm::Button1Click(ui::Object* /*Sender*/) {
    Close();
}
