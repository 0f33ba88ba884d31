#include "ui/main_menu.h"

#include "ui/exception.h"
#include "ui/form.h"
#include "ui/text_conversion.h"

namespace ui {
namespace {

UINT EnabledFlag(const MenuItem& item) { return !item.enabled || item.enabled() ? MF_ENABLED : MF_GRAYED; }

void AppendItem(HMENU menu, const MenuItem& item, UINT id) {
    if (item.caption.empty()) {
        AppendMenuText(menu, MF_SEPARATOR, 0, nullptr);
    } else {
        AppendMenuText(menu, MF_STRING | EnabledFlag(item), id, item.caption.c_str());
    }
}

bool RunItem(Object* sender, const MenuItem& item) {
    if (item.onClick) item.onClick(sender);
    return true;
}

}  // namespace

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
        for (const MenuItem& item : popup.items) AppendItem(popupMenu, item, item.id);
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
            if (item.id == id && !item.caption.empty()) return RunItem(this, item);
        }
    }
    return false;
}

void MainMenu::UpdateEnabled() {
    for (const MenuPopup& popup : popups_) {
        for (const MenuItem& item : popup.items) {
            if (item.enabled) EnableMenuItem(menu_.get(), item.id, MF_BYCOMMAND | EnabledFlag(item));
        }
    }
}

PopupMenu::PopupMenu(std::vector<MenuItem> items) : items_(std::move(items)) {}

UniqueMenu PopupMenu::Build() const {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) throw Exception("The menu cannot be created");
    for (std::size_t i = 0; i < items_.size(); ++i) AppendItem(menu.get(), items_[i], static_cast<UINT>(i + 1));
    return menu;
}

bool PopupMenu::TrackAt(HWND owner, POINT screenPoint) {
    const UniqueMenu menu = Build();
    // The choice comes back as the result rather than as a WM_COMMAND to the owner, whose command
    // ids mean other things.
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, owner, nullptr));
    return chosen != 0 && Dispatch(chosen);
}

bool PopupMenu::Dispatch(UINT command) {
    if (command == 0 || command > items_.size() || items_[command - 1].caption.empty()) return false;
    return RunItem(this, items_[command - 1]);
}

}  // namespace ui
