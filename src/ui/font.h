// A Shift_JIS font made from a face name, a height in pixels and a weight.
#pragma once

#include "ui/unique_handle.h"

#include <string>

namespace ui {

struct FontDescription {
    std::string face;  // Shift_JIS bytes, e.g. "ＭＳ ゴシック"
    int height = -12;  // negative: the character height without internal leading
    bool bold = false;
};

inline constexpr const char* kProportionalGothic = "ＭＳ Ｐゴシック";
inline constexpr const char* kFixedGothic = "ＭＳ ゴシック";

class Font {
public:
    explicit Font(FontDescription description);

    HFONT Handle() const noexcept { return handle_.get(); }
    const FontDescription& Description() const noexcept { return description_; }

private:
    FontDescription description_;
    UniqueFont handle_;
};

}  // namespace ui
