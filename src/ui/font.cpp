#include "ui/font.h"

#include "core/font_size.h"
#include "ui/exception.h"
#include "ui/text_conversion.h"

namespace ui {

Font::Font(FontDescription description, int dpi) {
    // Sizes are converted at the window's DPI, so the text-size steps and the layout's fonts agree
    // at every DPI. The face name is Shift_JIS; in the wide form it does not pass through the
    // system's code page.
    handle_.reset(CreateFontW(core::PointsToHeight(description.points, dpi), 0, 0, 0,
                              description.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              ToWide(description.face).c_str()));
    if (!handle_) throw Exception("Font " + description.face + " cannot be created");
}

Font::Font(const LOGFONTW& systemFont) {
    handle_.reset(CreateFontIndirectW(&systemFont));
    if (!handle_) throw Exception("The system's font cannot be created");
}

}  // namespace ui
