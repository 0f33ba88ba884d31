// A painted container: background colour, bevels and an optional one-line caption drawn
// left-aligned and centred vertically. Controls placed on it keep working: their notifications
// are handed on to their objects.
#pragma once

#include "ui/control.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class AccessibleLabel;

enum class Bevel {
    None,
    Lowered,        // lowered outer
    Raised,         // raised outer
    RaisedLowered,  // raised outer with a lowered inner
};

struct PanelArgs {
    Rect bounds{};
    Align align = Align::None;
    Bevel bevel = Bevel::Raised;
    std::optional<COLORREF> color{};  // the button face colour when not given
    std::string caption{};
    std::optional<FontDescription> font{};
};

class Panel : public Control {
public:
    Panel(Window& parent, PanelArgs args);
    ~Panel() override;

    COLORREF Color() const noexcept;
    void SetColor(COLORREF color);

    // The caption as the panel shows it: a zero byte ends it, as it would end a window text.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string_view caption);
    // What screen readers say of the panel, for one whose colour means something (a lamp); clients
    // that listen hear when the value changes.
    void SetAccessibleText(std::string_view name, std::string_view value);

    COLORREF BackgroundColor() const override { return Color(); }
    HBRUSH BackgroundBrush() const override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc) const;

    Bevel bevel_;
    std::optional<COLORREF> color_;
    UniqueBrush brush_;
    std::string caption_;
    std::unique_ptr<AccessibleLabel> accessible_;  // last: it goes first
};

}  // namespace ui
