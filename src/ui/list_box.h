// A list of text items in the order added, one selectable at a time.
#pragma once

#include "ui/control.h"

#include <optional>
#include <string>
#include <string_view>

namespace ui {

struct ListBoxArgs {
    Rect bounds{};
    int itemHeight = 0;  // 0 keeps the font's
    std::optional<FontDescription> font{};
};

class ListBox : public Control {
public:
    ListBox(Window& parent, ListBoxArgs args);

    void AddItem(std::string_view text);
    void Clear();
    int Count() const;
    std::string ItemText(int index) const;
    int ItemHeight() const;

protected:
    void OnDpiChanged() override;

private:
    void SetItemHeight();

    int itemHeight_;  // in layout pixels; 0 keeps the font's
};

}  // namespace ui
