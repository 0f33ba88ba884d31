// A multi-line, word-wrapping text area with a vertical scroll bar, no length limit, its own font
// and its own background and text colours; the user can select, type, cut, copy and paste.
//
// The control is the toolkit's own rather than the system's EDIT: what it edits is a
// core::TextDocument, whose text lies in blocks (the cold ones in a page file) and whose rows are
// laid out where they are looked at, so that every action costs what the screen shows, at any length
// of text. The view is anchored at the offset of its top row; rows not yet laid out at the width are
// counted by an estimate that a timer refines in slices. It answers the edit messages that other
// programs and tests use to read and select its text (WM_GETTEXT, EM_SETSEL, EM_REPLACESEL,
// EM_GETLINECOUNT, EM_LINESCROLL, ...).
//
// Arriving text does not move the view or the selection while the user holds the mouse button in
// the text area or on its scroll bar, or while Scroll Lock is on.
#pragma once

#include "ui/control.h"
#include "ui/wide_text_messages.h"

#include "core/text_document.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct MemoArgs {
    Rect bounds{};
    Align align = Align::None;
    std::optional<FontDescription> font{};
    COLORREF background = GetSysColor(COLOR_WINDOW);
    COLORREF textColor = GetSysColor(COLOR_WINDOWTEXT);
    core::StoreLimits limits{};
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

    // The whole text, by value: for small texts and tests. Save streams with ForEachPiece.
    std::string Text() { return document_.Text(); }
    std::size_t TextSize() const noexcept { return document_.Size(); }
    bool ForEachPiece(const std::function<bool(std::string_view)>& piece);
    void SetText(std::string_view text);
    int TextLength() const noexcept;
    // Adds bytes at the end of the text, where the caret then stands (unless the view is held).
    // All or nothing: when it throws, the text is as it was.
    void AppendText(std::string_view bytes);
    // The last n bytes of the text (all of it when shorter).
    std::string TextTail(int n);
    // Brings the last line into view, unless the view is held.
    void ScrollToEnd();
    // Empties the whole text, not only the selection.
    void Clear();
    void CopyToClipboard();
    void PasteFromClipboard();
    // Takes back the user's last edit (a run of typing counts as one); a second undo puts it back.
    bool Undo();
    // The user holds the mouse button in the text area or on its scroll bar, or Scroll Lock is on.
    bool ViewHeld() const noexcept;

    MemoColors Colors() const noexcept { return colors_; }
    void SetColors(COLORREF background, COLORREF text);

    core::TextDocument& Document() noexcept { return document_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT_PTR kScrollBarTimerId = 1;
    static constexpr UINT_PTR kRefineTimerId = 2;
    static constexpr UINT kShowNoticeMessage = WM_APP + 0x41;

    void ReplaceSelection(std::string_view bytes, core::EditKind kind = core::EditKind::Other);
    void CutToClipboard();
    // After every change of the text: the view follows, the scroll bar, the caret, the notices.
    void TextChanged(bool showCaret);
    void ShowNotices();
    void Select(std::size_t anchor, std::size_t caret);

    // Layout and view (memo_view.cpp).
    void MeasureFont();
    void LayOutAgain();
    int VisibleRows() const;
    const std::vector<core::TextRow>& ShownRows();
    std::size_t LastTopOffset();
    void ScrollTo(std::size_t topOffset);
    void ScrollRows(long long rows);
    void ScrollCaretIntoView();
    void UpdateScrollBar();
    SCROLLINFO ScrollBarInfo();
    void DrawStaleScrollBar();
    void PrepareFrame();
    void RefineSome();
    void PlaceCaret();
    void PlaceInputMethodWindow();
    std::size_t OffsetAtPoint(int x, int y);
    void Paint();
    int PaintRow(HDC dc, std::string_view bytes, std::size_t base, core::TextRow row, int y, core::TextSelection shown);
    int DrawRun(HDC dc, std::string_view bytes, std::size_t from, std::size_t to, int cell, int y, bool selected);

    // Input.
    void OnKeyDown(WPARAM key);
    void OnChar(unsigned char c);
    void OnVerticalScroll(int request);
    // At a point on the screen; (-1, -1) when asked from the keyboard: at the caret.
    void ShowContextMenu(POINT point);

    core::TextDocument document_;
    // The start of the row at the top of the view: the view stays on it while rows are refined.
    std::size_t topOffset_ = 0;
    std::size_t droppedSeen_ = 0;
    // The rows on the screen, worked out once per change of the text, the width or the view.
    std::vector<core::TextRow> shownRows_;
    bool shownRowsStale_ = true;
    HFONT font_ = nullptr;
    int cellWidth_ = 8;
    int lineHeight_ = 16;
    int wheelDelta_ = 0;
    bool focused_ = false;
    bool selecting_ = false;
    bool trackingScrollBar_ = false;
    bool composing_ = false;
    bool scrollBarStale_ = false;
    bool scrollBarTimer_ = false;
    bool refineTimer_ = false;
    bool droppedNoticeShown_ = false;
    bool fullNoticeDue_ = false;
    bool droppedNoticeDue_ = false;
    ULONGLONG scrollBarDrawnAt_ = 0;
    ULONGLONG refineAfter_ = 0;   // no background layout before this tick count
    SIZE laidOutClient_{-1, -1};  // the client size the rows were last laid out for
    TypedCharacters typedCharacters_;
    MemoColors colors_;
    UniqueBrush brush_;
};

}  // namespace ui
