// The main window's layout: every control with its place, size, font and colours, the menu bar,
// and the wiring of the handlers.
#include "Main.h"

#include "core/then_always.h"

#include "core/colour_schemes.h"

#include <shellapi.h>

#include <string>
#include <vector>

Sci SciPort;
TMainForm* MainForm = nullptr;

namespace {

std::vector<std::string> PortItems() {
    std::vector<std::string> items;
    for (int port = 1; port <= 32; ++port) items.push_back(std::to_string(port));
    return items;
}

ui::FontDescription ProportionalFont(int points, bool bold = false) {
    return {.face = ui::kProportionalGothic, .points = points, .bold = bold};
}

ui::FontDescription FixedFont(int points) { return {.face = ui::kFixedGothic, .points = points, .bold = false}; }

constexpr COLORREF kWhite = 0x00FFFFFF;

}  // namespace

TMainForm::TMainForm(ui::Form* Owner)
    : ui::Form({.caption = "Varnedo",
                .width = 989,
                .height = 622,
                .style = WS_OVERLAPPEDWINDOW,
                .font = ProportionalFont(9),
                .owner = Owner,
                .iconResource = "MAINICON"}),
      Panel4(*this, {.bounds = {0, 0, 0, 89}, .align = ui::Align::Top, .bevel = ui::Bevel::Lowered}),
      Panel3(Panel4, {.bounds = {1, 1, 89, 36}, .bevel = ui::Bevel::RaisedLowered, .color = kWhite}),
      Image1(Panel3, {.bounds = {4, 3, 83, 31}}),
      Panel1(Panel4, {.bounds = {95, 10, 42, 23}, .bevel = ui::Bevel::Lowered}),
      Label1(Panel1, {.left = 4, .top = 3, .caption = "COM", .font = ProportionalFont(11, true)}),
      ComboBox1(Panel4,
                {.bounds = {136, 10, 49, 24}, .items = PortItems(), .itemHeight = 16, .font = ProportionalFont(12)}),
      RadioGroup1(Panel4,
                  {.bounds = {198, 4, 131, 45}, .caption = "画面色選択", .items = {"1", "2", "3"}, .columns = 3}),
      GroupBox1(Panel4, {.bounds = {336, 4, 169, 45}, .caption = "文字の大きさ"}),
      Button2(GroupBox1, {.bounds = {16, 16, 57, 25}, .caption = "大"}),
      Button3(GroupBox1, {.bounds = {96, 16, 57, 25}, .caption = "小"}),
      Button1(Panel4, {.bounds = {520, 9, 73, 40}, .caption = "クリア", .font = ProportionalFont(11, true)}),
      Panel2(Panel4,
             {.bounds = {4, 52, 533, 25}, .bevel = ui::Bevel::RaisedLowered, .color = kWhite, .font = FixedFont(12)}),
      Memo1(*this, {.align = ui::Align::Client,
                    .font = FixedFont(14),
                    .background = core::kLayoutBackground,
                    .textColor = core::kLayoutText}),
      StatusBar1(*this, {.height = 19}),
      Timer1(*this, {.interval = 50, .enabled = true}),
      MainMenu1(*this, {{"ファイル(&F)",
                         {{OpenO1, "再接続(&O)", [this](ui::Object* s) { OpenO1Click(s); }},
                          {LoadL1, "ファイルを開く(&L)", [this](ui::Object* s) { LoadL1Click(s); }},
                          {SaveS1, "ファイルに保存(&S)", [this](ui::Object* s) { SaveS1Click(s); }},
                          {CloseC1, "閉じる(&C)", [this](ui::Object* s) { CloseC1Click(s); }}}},
                        {"編集(&E)",
                         {{CopyC1, "コピー(&C)", [this](ui::Object* s) { CopyC1Click(s); }},
                          {PasteP1, "貼り付け(&P)", [this](ui::Object* s) { PasteP1Click(s); }}}},
                        {"ヘルプ(&H)",
                         {{H2, "ヘルプ(&H)", [this](ui::Object* s) { H2Click(s); }},
                          {V1, "バージョン情報(&V)", [this](ui::Object* s) { V1Click(s); }}}}}) {
    // Tab order on the top bar: port list, Clear, colour choice, text size.
    Button1.PlaceTabAfter(ComboBox1);
    // A transcript dropped from Explorer loads as if chosen in the open dialog.
    DragAcceptFiles(Handle(), TRUE);

    if (HBITMAP logo = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), "LOGO", IMAGE_BITMAP, 0, 0, 0))) {
        Image1.SetBitmap(ui::UniqueBitmap(logo));
    }

    OnShow = [this](ui::Object* Sender) {
        // Placed after the settings may have changed the window's size, even when showing failed.
        core::ThenAlways([&] { FormShow(Sender); }, [this] { CentreOnDesktop(); });
    };
    OnCloseQuery = [this](ui::Object* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    ComboBox1.OnChange = [this](ui::Object* s) { ComboBox1Change(s); };
    RadioGroup1.OnClick = [this](ui::Object* s) { RadioGroup1Click(s); };
    Button2.OnClick = [this](ui::Object* s) { Button2Click(s); };
    Button3.OnClick = [this](ui::Object* s) { Button3Click(s); };
    Button1.OnClick = [this](ui::Object* s) { Button1Click(s); };
    Timer1.OnTimer = [this](ui::Object* s) { Timer1Timer(s); };
    Memo1.OnEvent = [this](ui::TextAreaEvent event) { Memo1Event(event); };
    Memo1.SetAccessibleName("受信テキスト");
    WireFind();
}
