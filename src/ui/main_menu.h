// A form's menu bar, built from a table of popups and items. Items are reached by command id: the
// form's WM_COMMAND runs the item's handler, and tests and outside automation send those ids.
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
    UINT id = 0;
    std::string caption{};  // "&" marks the access key
    std::function<void(Object* sender)> onClick{};
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

private:
    Form& owner_;
    std::vector<MenuPopup> popups_;
    UniqueMenu menu_;
};

}  // namespace ui
