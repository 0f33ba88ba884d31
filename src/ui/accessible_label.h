// A window that says a name and a value to screen readers, such as a lamp whose colour means a
// state: static text, never focused, for MSAA and for UI Automation (with the Value pattern, read
// only). Clients that listen hear when the value changes.
#pragma once

#include "ui/msaa_object.h"

#include <string>

namespace ui {

class UiaLabelProvider;

class AccessibleLabel final : public AccessibleFacts {
public:
    AccessibleLabel() : server_(*this) {}
    ~AccessibleLabel();
    AccessibleLabel(const AccessibleLabel&) = delete;
    AccessibleLabel& operator=(const AccessibleLabel&) = delete;

    std::optional<LRESULT> Answer(HWND window, WPARAM wParam, LPARAM lParam);
    void Disconnect(HWND window) noexcept;
    // Tells the listening clients when the value is another.
    void Set(HWND window, std::wstring name, std::wstring value);

    long Role() override { return ROLE_SYSTEM_STATICTEXT; }
    std::wstring Name() override { return name_; }
    std::wstring Value() override { return value_; }
    bool Focused() override { return false; }
    bool Focusable() override { return false; }

private:
    std::wstring name_;
    std::wstring value_;
    MsaaServer server_;
    UiaLabelProvider* element_ = nullptr;  // one reference, once asked for
    bool disconnected_ = false;
};

}  // namespace ui
