#include "ui/font_keeper.h"

#include <cwchar>

namespace ui {
namespace {

// The glyphs are kept by the kind of surface they are drawn on: a one-pixel bitmap of the screen's
// depth, as the windows are, and not the memory context's own monochrome one.
UniqueBitmap OnePixelOfTheScreen() {
    HDC screen = GetDC(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, 1, 1));
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

FontKeeper::KeptFont::KeptFont(const LOGFONTW& description) noexcept
    : description_(description),
      dc_(CreateCompatibleDC(nullptr)),
      bitmap_(OnePixelOfTheScreen()),
      font_(CreateFontIndirectW(&description)) {
    if (!dc_ || !bitmap_ || !font_) return;
    originalBitmap_ = SelectObject(dc_, bitmap_.get());
    originalFont_ = SelectObject(dc_, font_.get());
    // The font is realised, and its glyph store made, when something is drawn with it.
    const wchar_t space = L' ';
    ExtTextOutW(dc_, 0, 0, 0, nullptr, &space, 1, nullptr);
}

FontKeeper::KeptFont::~KeptFont() {
    if (!dc_) return;
    if (originalFont_) SelectObject(dc_, originalFont_);
    if (originalBitmap_) SelectObject(dc_, originalBitmap_);
    DeleteDC(dc_);
}

bool FontKeeper::KeptFont::Is(const LOGFONTW& d) const noexcept {
    const LOGFONTW& k = description_;
    return k.lfHeight == d.lfHeight && k.lfWidth == d.lfWidth && k.lfWeight == d.lfWeight && k.lfItalic == d.lfItalic &&
           k.lfCharSet == d.lfCharSet && k.lfQuality == d.lfQuality && k.lfPitchAndFamily == d.lfPitchAndFamily &&
           std::wcsncmp(k.lfFaceName, d.lfFaceName, LF_FACESIZE) == 0;
}

void FontKeeper::Keep(HFONT font) {
    LOGFONTW description{};
    if (!font || GetObjectW(font, sizeof description, &description) != sizeof description) return;
    if (last_ && last_->Is(description)) return;
    if (beforeLast_ && beforeLast_->Is(description)) {
        std::swap(last_, beforeLast_);
        return;
    }
    beforeLast_ = std::move(last_);
    last_ = std::make_unique<KeptFont>(description);
}

}  // namespace ui
