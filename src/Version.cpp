#include "Version.h"

TVerForm* VerForm = nullptr;

namespace {

constexpr COLORREF kNavy = 0x00800000;

}  // namespace

TVerForm::TVerForm(ui::Form* Owner)
    : ui::Form({.caption = "バージョン情報",
                .width = 279,
                .height = 165,
                // Sizeable, with the system menu and the close box only.
                .style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                .owner = Owner,
                .centreOnOwnerAtFirstShow = true}),
      Panel1(*this, {.align = ui::Align::Client, .bevel = ui::Bevel::Raised}),
      VersionLabel(Panel1, {.left = 132, .top = 11, .caption = "VersionLabel"}),
      CompanyName(Panel1, {.left = 8, .top = 40, .caption = "CompanyName"}),
      CopyrightLabel(Panel1, {.left = 8, .top = 56, .caption = "CopyrightLabel"}),
      ProductLabel(Panel1, {.left = 8,
                            .top = 8,
                            .caption = "ProductLabel",
                            .font = ui::FontDescription{.face = ui::kProportionalGothic, .height = -15, .bold = true},
                            .textColor = kNavy}),
      Comments(Panel1, {.left = 8, .top = 80, .caption = "Comments"}),
      Button1(Panel1, {.bounds = {184, 96, 75, 25}, .caption = "OK"}),
      Label1(Panel1, {.left = 108, .top = 11, .caption = "Ver."}) {
    OnShow = [this](ui::Object* Sender) { FormShow(Sender); };
    Button1.OnClick = [this](ui::Object* Sender) { Button1Click(Sender); };
}

void TVerForm::FormShow(ui::Object* /*Sender*/) {
    // filled by the version step: reads the version resource into the labels
}

void TVerForm::Button1Click(ui::Object* /*Sender*/) {
    Close();
}
