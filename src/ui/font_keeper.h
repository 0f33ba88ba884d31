// Keeps copies of the last two fonts a window drew with selected in device contexts of their own.
// Wine keeps the glyphs it has drawn only for fonts that some device context has selected, and
// drops them once a handful of other fonts have been drawn with: the top bar's, the strip's and the
// status line's paints were enough for the text area to draw every Japanese character of a full
// screen anew on each paint (5 ms of a 6 ms paint). The font before the last one is kept too, so
// that a text-size step and its reverse find their glyphs made. On Windows it is two device
// contexts more.
#pragma once

#include "ui/unique_handle.h"

#include <windows.h>

#include <memory>

namespace ui {

class FontKeeper {
public:
    FontKeeper() = default;
    FontKeeper(const FontKeeper&) = delete;
    FontKeeper& operator=(const FontKeeper&) = delete;

    // Keeps a copy of `font` from now on, beside the one kept before it; the font stays the caller's.
    void Keep(HFONT font);

private:
    class KeptFont {
    public:
        explicit KeptFont(const LOGFONTW& description) noexcept;
        ~KeptFont();
        KeptFont(const KeptFont&) = delete;
        KeptFont& operator=(const KeptFont&) = delete;
        bool Is(const LOGFONTW& description) const noexcept;

    private:
        LOGFONTW description_;
        HDC dc_;
        UniqueBitmap bitmap_;
        UniqueFont font_;
        HGDIOBJ originalBitmap_ = nullptr;
        HGDIOBJ originalFont_ = nullptr;
    };

    std::unique_ptr<KeptFont> last_;
    std::unique_ptr<KeptFont> beforeLast_;
};

}  // namespace ui
