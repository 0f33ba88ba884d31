#include "ui/panel.h"

#include "ui/accessible_label.h"
#include "ui/device_context.h"
#include "ui/text_conversion.h"

namespace ui {
namespace {

// Each bevel is one pixel of the button highlight and shadow colours.
void DrawBevel(HDC dc, RECT& rect, UINT edge) { DrawEdge(dc, &rect, edge, BF_RECT | BF_ADJUST); }

std::string UpToZero(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

}  // namespace

Panel::Panel(Window& parent, PanelArgs args)
    : Control(parent, {.className = kPaintedControlClass,
                       .text = UpToZero(args.caption),
                       .style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       .exStyle = WS_EX_CONTROLPARENT,
                       .bounds = args.bounds,
                       .align = args.align,
                       .font = std::move(args.font)}),
      bevel_(args.bevel),
      caption_(UpToZero(args.caption)) {
    if (args.color) SetColor(*args.color);
}

Panel::~Panel() = default;

COLORREF Panel::Color() const noexcept { return color_ ? *color_ : GetSysColor(COLOR_BTNFACE); }

HBRUSH Panel::BackgroundBrush() const { return color_ ? brush_.get() : GetSysColorBrush(COLOR_BTNFACE); }

void Panel::SetColor(COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    if (!brush) return;
    brush_ = std::move(brush);
    color_ = color;
    // Labels on the panel paint their background in its colour, so they are redrawn too.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Panel::SetCaption(std::string_view caption) {
    caption_ = UpToZero(caption);
    // The window text mirrors the caption for programs that read it from outside (WM_GETTEXT).
    SetWindowTextW(Handle(), ToWide(caption_).c_str());
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Panel::SetAccessibleText(std::string_view name, std::string_view value) {
    if (!accessible_) accessible_ = std::make_unique<AccessibleLabel>();
    accessible_->Set(Handle(), ToWide(name), ToWide(value));
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(Handle(), &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, BackgroundBrush());
        return 1;
    }
    case WM_PAINT: {
        PaintDC dc(Handle());
        Paint(dc.get());
        return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(CurrentFont().Handle());
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer =
                accessible_ ? accessible_->Answer(Handle(), wParam, lParam) : std::nullopt) {
            return *answer;
        }
        return Control::HandleMessage(message, wParam, lParam);
    case WM_DESTROY:
        if (accessible_) accessible_->Disconnect(Handle());
        return Control::HandleMessage(message, wParam, lParam);
    case WM_SIZE:
        RealignChildren();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    default: return Control::HandleMessage(message, wParam, lParam);
    }
}

void Panel::Paint(HDC dc) const {
    RECT rect;
    GetClientRect(Handle(), &rect);
    switch (bevel_) {
    case Bevel::None: break;
    case Bevel::Lowered: DrawBevel(dc, rect, BDR_SUNKENOUTER); break;
    case Bevel::Raised: DrawBevel(dc, rect, BDR_RAISEDINNER); break;
    case Bevel::RaisedLowered:
        DrawBevel(dc, rect, BDR_RAISEDINNER);
        DrawBevel(dc, rect, BDR_SUNKENOUTER);
        break;
    }
    if (caption_.empty()) return;
    SelectedObject font(dc, CurrentFont().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const std::wstring caption = ToWide(caption_);
    DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &rect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
}

}  // namespace ui
