// A multi-line, word-wrapping text area with a vertical scroll bar, no length limit, its own font
// and its own background and text colours; the user can select, type, cut, copy and paste.
//
// The control is the toolkit's own rather than the system's EDIT: what it edits is a
// core::TextDocument and what it shows is a core::TextView, so that every action costs what the
// screen shows, at any length of text. This class only turns messages into document and view calls
// and paints the rows the view names, the scroll bar and the caret. It answers the edit messages
// that other programs and tests use to read and select its text (WM_GETTEXT, EM_SETSEL,
// EM_REPLACESEL, EM_GETLINECOUNT, EM_LINESCROLL, ...).
//
// Arriving text does not move the view or the selection while the user holds the mouse button in
// the text area or on its scroll bar, while Scroll Lock is on, or while the owner reads back
// (HoldForSearch).
#pragma once

#include "ui/control.h"
#include "ui/font_keeper.h"
#include "ui/main_menu.h"
#include "ui/timer.h"
#include "ui/wide_text_messages.h"

#include "core/text_view.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IRawElementProviderSimple;

namespace ui {

class MemoAccessibility;

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

// What the text area reports to its owner, who tells the user in words of the program's own.
enum class TextAreaEvent {
    Full,          // no page file: memory fills, the text should be saved and cleared
    LinesDropped,  // the oldest lines left the text
    TooMuchToCopy,
    CopyFailed,
};

// The window class of the text area, for finding it from outside.
inline constexpr const char* kTextAreaClass = "UiTextArea";

class Memo : public Control {
public:
    Memo(Window& parent, MemoArgs args);
    ~Memo() override;

    // Full and LinesDropped arrive from the message loop, never from within the call that caused
    // them, so that a box the owner shows does not hold up reception.
    std::function<void(TextAreaEvent)> OnEvent;
    // The user changed the text (typing, cutting, pasting, deleting, undoing).
    std::function<void()> OnEdit;
    // The owner's items, after the edit items of the context menu.
    std::vector<MenuItem> ExtraMenuItems;

    // The whole text, by value: for small texts and tests. Save streams with ScanText.
    std::string Text() { return document_.Text(); }
    std::string Read(std::size_t from, std::size_t to) { return document_.Read(from, to); }
    std::size_t TextSize() const noexcept { return document_.Size(); }
    // Hands [from, to) to `piece` a block at a time, for one pass such as a save: paged-out blocks
    // are read without being brought back. Stops early when `piece` returns false.
    bool ScanText(std::size_t from, std::size_t to, const std::function<bool(std::string_view)>& piece);
    void SetText(std::string_view text);
    int TextLength() const noexcept;
    // Adds bytes at the end of the text, where the caret then stands (unless the view is held).
    // All or nothing: when it throws, the text is as it was.
    void AppendText(std::string_view bytes);
    // Takes the text from `from` to its end away again: the program's own addition, not an edit.
    void TakeBackFrom(std::size_t from);
    // The last n bytes of the text (all of it when shorter).
    std::string TextTail(int n);
    // Brings the last line into view, unless the view is held.
    void ScrollToEnd();
    // Empties the whole text, not only the selection; Undo puts it back until the next edit.
    void Clear();
    void CopyToClipboard();
    void PasteFromClipboard();
    // Takes back the user's last edit (a run of typing counts as one); a second undo puts it back.
    bool Undo();
    // The user holds the mouse button in the text area or on its scroll bar, or Scroll Lock is on.
    bool ViewHeld() noexcept;
    // Long work of the owner's holds the background layout back, so that the work has the thread;
    // the rows on the screen are laid out as ever, and the scroll bar settles once it is let go.
    void HoldBackgroundLayout(bool held) noexcept { backgroundLayoutHeld_ = held; }

    MemoColors Colors() const noexcept { return colors_; }
    void SetColors(COLORREF background, COLORREF text);

    const core::TextDocument& Document() const noexcept { return document_; }
    // What screen readers call the text area.
    void SetAccessibleName(std::string_view name);
    // The text area's UI Automation element, one reference for the caller; null without UI
    // Automation on the system.
    IRawElementProviderSimple* AutomationElement();
    // For a search that reads the text a block at a time (paged-out blocks come back in turn).
    core::TextStore& StoreToSearch() noexcept { return document_.StoreToSearch(); }
    // Selects [from, to) and shows it: where it is on the screen it stays, otherwise it comes to
    // the middle.
    void SelectAndShow(std::size_t from, std::size_t to);
    // While held, the selection shows even when another window (the Find dialog) has the focus.
    void HoldForSearch(bool held) noexcept;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class MemoAccessibility;  // screen readers read and move what the user sees

    static constexpr UINT kShowNoticeMessage = WM_APP + 0x41;

    // Text and editing (memo.cpp).
    void ReplaceSelection(std::string_view bytes, core::EditKind kind = core::EditKind::Other);
    void CutToClipboard();
    bool CopySelection();
    // After every change of the text: the view, the scroll bar, the caret, the notices.
    void TextChanged(bool showCaret);
    void ShowNotices();
    void Select(std::size_t anchor, std::size_t caret);
    void Report(TextAreaEvent event);

    // Messages by kind (memo_messages.cpp); each answers the messages of its kind.
    std::optional<LRESULT> WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> FocusMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> MouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> KeyboardMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> EditMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Input (memo_input.cpp).
    void OnKeyDown(WPARAM key);
    void OnChar(unsigned char c);
    void OnVerticalScroll(int request);
    void OnMouseDown(POINT mouse, bool extend);
    void OnMouseDrag(POINT mouse);
    void OnDragTimer();
    // At a point on the screen; (-1, -1) when asked from the keyboard: at the caret.
    void ShowContextMenu(POINT point);

    // Layout and the screen (memo_view.cpp).
    void MeasureFont();
    void LayOutAgain();
    int VisibleRows() const;
    void ViewMoved();
    void UpdateScrollBar();
    void SetScrollBar(bool redraw);
    void DrawStaleScrollBar();
    void PrepareFrame();
    void RefineSome();
    void PlaceCaret();
    void PlaceInputMethodWindow();
    std::size_t OffsetAtPoint(POINT point);
    // The client point at the top left of a cell of a row on the screen.
    POINT CellPoint(int row, int cell) const;
    void Paint();

    core::TextDocument document_;
    core::TextView view_;
    HFONT font_ = nullptr;
    FontKeeper fontKeeper_;  // keeps the glyphs drawn in the font between paints
    int cellWidth_ = 8;
    int lineHeight_ = 16;
    int wheelDelta_ = 0;
    bool focused_ = false;
    bool composing_ = false;
    bool heldForSearch_ = false;
    POINT dragPoint_{};
    bool scrollBarStale_ = false;
    Timer scrollBarTimer_{*this, {.enabled = false}};
    Timer refineTimer_{*this, {.enabled = false}};
    Timer dragTimer_{*this, {.enabled = false}};
    ULONGLONG scrollBarDrawnAt_ = 0;
    ULONGLONG refineAfter_ = 0;  // no background layout before this tick count
    bool backgroundLayoutHeld_ = false;
    SIZE laidOutClient_{-1, -1};  // the client size the rows were last laid out for
    core::TextNotices notices_;   // due to be reported from the message loop
    TypedCharacters typedCharacters_;
    MemoColors colors_;
    UniqueBrush brush_;
    std::unique_ptr<MemoAccessibility> accessibility_;  // last: it goes first
};

}  // namespace ui
