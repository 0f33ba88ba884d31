// A multi-line, word-wrapping text area with a vertical scroll bar, no length limit, its own font
// and its own background and text colours; the user can select, type, cut, copy and paste.
//
// The control is the toolkit's own rather than the system's EDIT: it keeps the Shift_JIS text
// itself and lays out rows by character cells of its fixed-pitch font (core::TextLayout), so that
// adding at the end costs in proportion to what is added and a paint to the rows on the screen, at
// any length of text. It answers the edit messages that other programs and tests use to read and
// select its text (WM_GETTEXT, EM_SETSEL, EM_REPLACESEL, EM_GETLINECOUNT, EM_LINESCROLL, ...).
#pragma once

#include "ui/control.h"
#include "ui/wide_text_messages.h"

#include "core/edit_undo.h"
#include "core/text_layout.h"

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

// The window class of the text area, for finding it from outside.
inline constexpr const char* kTextAreaClass = "UiTextArea";

class Memo : public Control {
public:
    Memo(Window& parent, MemoArgs args);

    const std::string& Text() const noexcept { return text_; }
    void SetText(std::string_view text);
    int TextLength() const noexcept;
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
    // Takes back the user's last edit (a run of typing counts as one); a second undo puts it back.
    bool Undo();

    MemoColors Colors() const noexcept { return colors_; }
    void SetColors(COLORREF background, COLORREF text);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT_PTR kScrollBarTimerId = 1;

    struct Selection {
        std::size_t start;
        std::size_t end;
    };

    Selection Selected() const noexcept;
    std::string SelectedText() const;
    void Select(std::size_t anchor, std::size_t caret);
    void ReplaceSelection(std::string_view bytes, core::EditKind kind = core::EditKind::Other);
    void Replace(Selection range, std::string_view bytes);
    void DeleteSelectionOr(std::size_t from, std::size_t to);
    void CutToClipboard();

    // Layout and view.
    void MeasureFont();
    void LayOutAgain();
    int VisibleRows() const;
    std::size_t LastTopRow() const;
    void ScrollTo(std::size_t topRow);
    void ScrollCaretIntoView();
    void UpdateScrollBar();
    SCROLLINFO ScrollBarInfo() const;
    void DrawStaleScrollBar();
    void PlaceCaret();
    void PlaceInputMethodWindow();
    std::size_t OffsetAtPoint(int x, int y) const;
    void Paint();
    // Draw a row, or a run of it from `cell` on; both give back where they ended (a pixel, a cell).
    int PaintRow(HDC dc, std::size_t row, int y, Selection shown);
    int DrawRun(HDC dc, std::size_t from, std::size_t to, int cell, int y, bool selected);

    // Input.
    void OnKeyDown(WPARAM key);
    void OnChar(unsigned char c);
    void OnVerticalScroll(int request);
    void ShowContextMenu(LPARAM at);

    std::string text_;
    core::TextLayout layout_;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    // The cell the caret keeps to while moving up and down.
    int goalCell_ = 0;
    std::size_t topRow_ = 0;
    HFONT font_ = nullptr;
    int cellWidth_ = 8;
    int lineHeight_ = 16;
    int wheelDelta_ = 0;
    bool focused_ = false;
    bool selecting_ = false;
    bool composing_ = false;
    bool scrollBarStale_ = false;
    bool scrollBarTimer_ = false;
    ULONGLONG scrollBarDrawnAt_ = 0;
    // The first byte of a two-byte character typed, waiting for its second.
    std::optional<char> typedLeadByte_;
    TypedCharacters typedCharacters_;
    core::EditUndo undo_;
    MemoColors colors_;
    UniqueBrush brush_;
};

}  // namespace ui
