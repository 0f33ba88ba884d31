#include "ui/message_box.h"

#include "ui/text_conversion.h"

#include <string>

namespace ui {

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT style) {
    return MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), style);
}

int ShowMessageBox(HWND owner, std::wstring_view text, std::string_view caption, UINT style) {
    return MessageBoxW(owner, std::wstring(text).c_str(), ToWide(caption).c_str(), style);
}

}  // namespace ui
