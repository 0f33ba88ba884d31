// A multi-line, word-wrapping text area with a vertical scroll bar, no length limit, its own font
// and its own background and text colours.
#pragma once

#include "ui/control.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ui {

struct MemoArgs {
    Rect bounds{};
    Align align = Align::None;
    std::optional<FontDescription> font{};
    COLORREF background = GetSysColor(COLOR_WINDOW);
    COLORREF textColor = GetSysColor(COLOR_WINDOWTEXT);
};

struct MemoColors {
    COLORREF background;
    COLORREF text;
};

class Memo : public Control {
public:
    Memo(Window& parent, MemoArgs args);

    // The whole text. Reads every byte: keep it out of paths that run for each received byte.
    std::string Text() const;
    void SetText(std::string_view text);
    int TextLength() const;
    // Adds bytes at the end of the text, where the caret then stands.
    void AppendText(std::string_view bytes);
    // The last n bytes of the text (all of it when shorter).
    std::string TextTail(int n) const;
    // Brings the last line into view.
    void ScrollToEnd();
    // Empties the whole text, not only the selection.
    void Clear();
    void CopyToClipboard();
    void PasteFromClipboard();

    MemoColors Colors() const noexcept { return colors_; }
    void SetColors(COLORREF background, COLORREF text);

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    MemoColors colors_;
    UniqueBrush brush_;
};

}  // namespace ui
