// Menus built from tables of items: a form's menu bar and the context menus of windows. Items of
// the menu bar are reached by command id: the form's WM_COMMAND runs the item's handler, and tests
// and outside automation send those ids. A context menu numbers its items itself and runs the
// chosen one's handler when it closes.
#pragma once

#include "ui/object.h"
#include "ui/unique_handle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Form;

// Appends an item with a Shift_JIS caption (none for a separator) in the menu's Unicode form.
BOOL AppendMenuText(HMENU menu, UINT flags, UINT_PTR id, const char* caption);

struct MenuItem {
    UINT id = 0;            // the menu bar's command id; a context menu numbers its items itself
    std::string caption{};  // "&" marks the access key; none: a separator
    std::function<void(Object* sender)> onClick{};
    // Asked each time the menu opens; none: always enabled.
    std::function<bool()> enabled{};
};

struct MenuPopup {
    std::string caption{};
    std::vector<MenuItem> items{};
};

class MainMenu : public Object {
public:
    MainMenu(Form& owner, std::vector<MenuPopup> popups);
    ~MainMenu() override;

    HMENU Handle() const noexcept { return menu_.get(); }
    // Runs the handler of the item with this id; false when no item has it.
    bool Dispatch(UINT id);
    // Greys the items that are not enabled now, as a popup of the bar opens.
    void UpdateEnabled();

private:
    Form& owner_;
    std::vector<MenuPopup> popups_;
    UniqueMenu menu_;
};

class PopupMenu : public Object {
public:
    explicit PopupMenu(std::vector<MenuItem> items);

    // The menu as it shows now: the items in order, each greyed unless enabled, numbered from 1.
    UniqueMenu Build() const;
    // Shows the menu at a point on the screen for `owner` until the user chooses or leaves it, then
    // runs the chosen item's handler; false when nothing was chosen.
    bool TrackAt(HWND owner, POINT screenPoint);
    // Runs the handler of the item with this number; false when no item has it.
    bool Dispatch(UINT command);

private:
    std::vector<MenuItem> items_;
};

}  // namespace ui
