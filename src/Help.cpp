#include "Help.h"

THelpForm* HelpForm = nullptr;

THelpForm::THelpForm(ui::Form* Owner)
    : ui::Form({.caption = "ヘルプ",
                .width = 483,
                .height = 204,
                .clientSize = true,
                // A single fixed border, the system menu and the close box only.
                .style = WS_CAPTION | WS_SYSMENU,
                .owner = Owner,
                .centreOnOwnerAtFirstShow = true}),
      Panel1(*this, {.align = ui::Align::Client, .bevel = ui::Bevel::Raised}),
      Button1(Panel1, {.bounds = {392, 168, 75, 25}, .caption = "閉じる"}),
      ListBox1(Panel1, {.bounds = {8, 8, 465, 153}, .itemHeight = 12}) {
    OnShow = [this](ui::Object* Sender) { FormShow(Sender); };
    Button1.OnClick = [this](ui::Object* Sender) { Button1Click(Sender); };
}

void THelpForm::FormShow(ui::Object* /*Sender*/) {
    // filled by the help step: reads readme.txt into the list
}

void THelpForm::Button1Click(ui::Object* /*Sender*/) {
    Close();
}
