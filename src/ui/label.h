// A one-line static text that sizes itself to its text. It is not transparent: it paints its
// background in its parent's colour, so a label on a coloured panel follows that panel.
#pragma once

#include "ui/control.h"

#include <optional>
#include <string>
#include <string_view>

namespace ui {

struct LabelArgs {
    int left = 0;
    int top = 0;
    std::string caption{};
    std::optional<FontDescription> font{};
    std::optional<COLORREF> textColor{};  // the window text colour when not given
};

class Label : public Control {
public:
    Label(Window& parent, LabelArgs args);

    void SetCaption(std::string_view caption);

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged() override;

private:
    void FitToText();

    std::optional<COLORREF> textColor_;
};

}  // namespace ui
