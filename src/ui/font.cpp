#include "ui/font.h"

#include "ui/exception.h"
#include "ui/text_conversion.h"

namespace ui {

Font::Font(FontDescription description) : description_(std::move(description)) {
    // The face name is Shift_JIS; in the wide form it does not pass through the system's code page.
    handle_.reset(CreateFontW(description_.height, 0, 0, 0, description_.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                              FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, ToWide(description_.face).c_str()));
    if (!handle_) throw Exception("Font " + description_.face + " cannot be created");
}

}  // namespace ui
