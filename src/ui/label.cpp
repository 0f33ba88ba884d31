#include "ui/label.h"

#include "ui/device_context.h"

namespace ui {

Label::Label(Window& parent, LabelArgs args)
    : Control(parent, {.className = "STATIC",
                       .text = args.caption,
                       .style = SS_LEFT | SS_NOPREFIX,
                       .bounds = {args.left, args.top, 0, 0},
                       .font = std::move(args.font)}),
      textColor_(args.textColor) {
    FitToText();
}

void Label::SetCaption(std::string_view caption) {
    SetText(caption);
    FitToText();
}

void Label::FitToText() {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Handle())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
    WindowDC dc(Handle());
    SelectedObject font(dc.get(), CurrentFont().Handle());
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    // The size is measured in the font at the window's DPI; the place is laid out.
    SetPixelBounds(Scaled(layoutBounds_.left), Scaled(layoutBounds_.top), rect.right, metrics.tmHeight);
}

void Label::OnDpiChanged() { FitToText(); }

bool Label::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    auto dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, textColor_ ? *textColor_ : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, Parent()->BackgroundColor());
    result = reinterpret_cast<LRESULT>(Parent()->BackgroundBrush());
    return true;
}

}  // namespace ui
