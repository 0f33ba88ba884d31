// A drop-down list without typing. OnChange runs when the user picks an item; a selection that
// the program sets does not run it.
#pragma once

#include "ui/control.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct ComboBoxArgs {
    Rect bounds{};  // the height is that of the closed box
    std::vector<std::string> items{};
    int itemHeight = 0;  // of the list's items; 0 keeps the font's
    int dropDownCount = 8;
    std::optional<FontDescription> font{};
};

class ComboBox : public Control {
public:
    ComboBox(Window& parent, ComboBoxArgs args);

    std::function<void(Object* sender)> OnChange;

    int ItemIndex() const;
    void SetItemIndex(int index);
    int ItemCount() const;
    std::string ItemText(int index) const;
    void AddItem(std::string_view text);

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged() override;

private:
    // Item and closed-box heights in layout pixels, made at the window's DPI.
    void SetHeights();
    void FitClosedHeight(int height);

    int itemHeight_;
    int closedHeight_;
};

}  // namespace ui
