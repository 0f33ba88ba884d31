#include "ui/main_menu.h"

#include "ui/exception.h"
#include "ui/form.h"
#include "ui/text_conversion.h"

namespace ui {

BOOL AppendMenuText(HMENU menu, UINT flags, UINT_PTR id, const char* caption) {
    if (!caption) return AppendMenuW(menu, flags, id, nullptr);
    return AppendMenuW(menu, flags, id, ToWide(caption).c_str());
}

MainMenu::MainMenu(Form& owner, std::vector<MenuPopup> popups)
    : owner_(owner), popups_(std::move(popups)), menu_(CreateMenu()) {
    if (!menu_) throw Exception("The menu cannot be created");
    for (const MenuPopup& popup : popups_) {
        // Once appended, a popup belongs to the menu bar and is destroyed with it.
        HMENU popupMenu = CreatePopupMenu();
        if (!popupMenu) throw Exception("The menu cannot be created");
        for (const MenuItem& item : popup.items) {
            AppendMenuText(popupMenu, MF_STRING, item.id, item.caption.c_str());
        }
        AppendMenuText(menu_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popupMenu), popup.caption.c_str());
    }
    SetMenu(owner_.Handle(), menu_.get());
    owner_.AttachMenu(this);
}

MainMenu::~MainMenu() {
    owner_.AttachMenu(nullptr);
    // Taken off the window first: a window destroys the menu it holds.
    if (owner_.Handle() && GetMenu(owner_.Handle()) == menu_.get()) SetMenu(owner_.Handle(), nullptr);
}

bool MainMenu::Dispatch(UINT id) {
    for (const MenuPopup& popup : popups_) {
        for (const MenuItem& item : popup.items) {
            if (item.id == id) {
                if (item.onClick) item.onClick(this);
                return true;
            }
        }
    }
    return false;
}

}  // namespace ui
