#include "ui/message_box.h"

#include "ui/text_conversion.h"

namespace ui {

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT style) {
    return MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(), style);
}

}  // namespace ui
