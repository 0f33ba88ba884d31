// A captioned group of radio buttons in columns, with one selection or none (-1). OnClick runs
// whenever the selection changes to an item, whether the user or the program changed it; choosing
// the selected item again, or clearing the selection, does not run it. As in any dialog, Tab
// lands on the selected item and the arrow keys move the selection within the group.
#pragma once

#include "ui/group_box.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct RadioGroupArgs {
    Rect bounds{};
    std::string caption{};
    std::vector<std::string> items{};
    int columns = 1;
    std::optional<FontDescription> font{};
};

class RadioGroup : public GroupBox {
public:
    RadioGroup(Window& parent, RadioGroupArgs args);

    std::function<void(Object* sender)> OnClick;

    int ItemIndex() const noexcept { return itemIndex_; }
    // An index outside the items clears the selection.
    void SetItemIndex(int index);
    int ItemCount() const noexcept { return static_cast<int>(buttons_.size()); }
    // The radio button of an item, for tests and keyboard focus.
    HWND ButtonHandle(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged() override;

private:
    void ArrangeButtons();
    // The item of a button of this group; -1 for any other window.
    int IndexOf(HWND button) const;

    // Child windows of the group box: Windows destroys them with it.
    std::vector<HWND> buttons_;
    int columns_ = 1;
    int itemIndex_ = -1;
    bool focusMovesWithinGroup_ = false;
};

}  // namespace ui
