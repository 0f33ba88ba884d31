// A Shift_JIS font made from a face name, a size in whole points and a weight, at a DPI.
#pragma once

#include "ui/unique_handle.h"

#include <string>

namespace ui {

struct FontDescription {
    std::string face;  // Shift_JIS bytes, e.g. "ＭＳ ゴシック"
    int points = 9;    // the character height is this many points at the window's DPI
    bool bold = false;
};

inline constexpr const char* kProportionalGothic = "ＭＳ Ｐゴシック";
inline constexpr const char* kFixedGothic = "ＭＳ ゴシック";

class Font {
public:
    Font(FontDescription description, int dpi);
    // A font the system describes, such as its status-bar font.
    explicit Font(const LOGFONTW& systemFont);

    HFONT Handle() const noexcept { return handle_.get(); }

private:
    UniqueFont handle_;
};

}  // namespace ui
