#include "ui/accessible_label.h"

namespace ui {

void AccessibleLabel::Set(HWND window, std::wstring name, std::wstring value) {
    const bool changed = value != value_;
    name_ = std::move(name);
    value_ = std::move(value);
    if (changed) MsaaServer::ValueChanged(window);
}

}  // namespace ui
