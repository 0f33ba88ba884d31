// The text area's input: keys, typed characters, the scroll bar, the mouse and the context menu,
// each turned into document and view calls.
#include "ui/memo.h"

#include "ui/clipboard.h"
#include "ui/main_menu.h"

#include <algorithm>
#include <cstdlib>

namespace ui {
namespace {

// While a drag holds the pointer above or below the text area, the view scrolls on by itself this
// often, more rows at a time the further the pointer is from the edge.
constexpr UINT kDragScrollInterval = 50;
constexpr int kMostDragRows = 20;

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

std::optional<core::CaretStep> CaretStepOf(WPARAM key, bool control) {
    switch (key) {
    case VK_LEFT: return control ? core::CaretStep::WordLeft : core::CaretStep::Left;
    case VK_RIGHT: return control ? core::CaretStep::WordRight : core::CaretStep::Right;
    case VK_UP: return core::CaretStep::Up;
    case VK_DOWN: return core::CaretStep::Down;
    case VK_PRIOR: return core::CaretStep::PageUp;
    case VK_NEXT: return core::CaretStep::PageDown;
    case VK_HOME: return control ? core::CaretStep::TextStart : core::CaretStep::RowStart;
    case VK_END: return control ? core::CaretStep::TextEnd : core::CaretStep::RowEnd;
    default: return std::nullopt;
    }
}

}  // namespace

void Memo::OnKeyDown(WPARAM key) {
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    if (key == VK_DELETE && shift) return CutToClipboard();
    if (key == VK_DELETE) {
        document_.DeleteForward();
        return TextChanged(true);
    }
    if (key == VK_INSERT) {
        if (control) CopyToClipboard();
        if (shift) PasteFromClipboard();
        return;
    }
    const std::optional<core::CaretStep> step = CaretStepOf(key, control);
    if (!step) return;
    // A page key scrolls the view by a page and takes the caret along.
    const long long page = view_.Rows();
    if (step == core::CaretStep::PageUp) view_.ScrollRows(-page);
    if (step == core::CaretStep::PageDown) view_.ScrollRows(page);
    document_.Move(*step, shift, static_cast<std::size_t>(page));
    view_.ScrollCaretIntoView();
    ViewMoved();
}

void Memo::OnChar(unsigned char c) {
    switch (c) {
    case 0x01: Select(0, document_.Size()); return;  // Ctrl+A
    case 0x03: CopyToClipboard(); return;            // Ctrl+C
    case 0x16: PasteFromClipboard(); return;         // Ctrl+V
    case 0x18: CutToClipboard(); return;             // Ctrl+X
    case 0x1A: Undo(); return;                       // Ctrl+Z
    default: break;
    }
    const std::size_t size = document_.Size();
    document_.Type(c);
    // A first byte waits for its partner without changing the text.
    if (document_.Size() != size || c == '\b') TextChanged(true);
}

void Memo::OnVerticalScroll(int request) {
    const long long page = view_.Rows();
    bool moved = false;
    switch (request) {
    case SB_LINEUP: moved = view_.ScrollRows(-1); break;
    case SB_LINEDOWN: moved = view_.ScrollRows(1); break;
    case SB_PAGEUP: moved = view_.ScrollRows(-page); break;
    case SB_PAGEDOWN: moved = view_.ScrollRows(page); break;
    case SB_TOP: moved = view_.ScrollTo(0); break;
    case SB_BOTTOM: moved = view_.ScrollToEnd(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position, not the 16 bits that the message carries.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_VERT, &info);
        moved = view_.ScrollToRowIndex(static_cast<std::size_t>(std::max(0, info.nTrackPos)));
        break;
    }
    default: break;
    }
    if (moved) ViewMoved();
}

void Memo::OnMouseDown(POINT mouse, bool extend) {
    SetFocus(Handle());
    const std::size_t at = OffsetAtPoint(mouse);
    Select(extend ? document_.Anchor() : at, at);
    view_.Hold(core::ViewHold::MouseButton, true);
    dragPoint_ = mouse;
    SetCapture(Handle());
}

void Memo::OnMouseDrag(POINT mouse) {
    if (GetCapture() != Handle()) return;
    dragPoint_ = mouse;
    RECT client{};
    GetClientRect(Handle(), &client);
    // Beyond the top or the bottom the view scrolls on by itself while the button is held.
    if (mouse.y < 0 || mouse.y >= client.bottom) {
        dragTimer_.Start(kDragScrollInterval);
        OnDragTimer();
        return;
    }
    dragTimer_.Stop();
    Select(document_.Anchor(), OffsetAtPoint(mouse));
}

void Memo::OnDragTimer() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int beyond =
        dragPoint_.y < 0 ? dragPoint_.y : std::max(0, static_cast<int>(dragPoint_.y - client.bottom + 1));
    if (beyond == 0 || GetCapture() != Handle()) {
        dragTimer_.Stop();
        return;
    }
    const int rows = std::min(kMostDragRows, 1 + std::abs(beyond) / lineHeight_);
    view_.ScrollRows(beyond < 0 ? -rows : rows);
    // The selection reaches to the row the pointer would be over, the first or last row shown.
    const POINT edge{dragPoint_.x, beyond < 0 ? 0 : static_cast<int>(client.bottom) - 1};
    Select(document_.Anchor(), OffsetAtPoint(edge));
    ViewMoved();
}

void Memo::ShowContextMenu(POINT point) {
    if (point.x == -1 && point.y == -1) {  // from the keyboard: at the caret
        GetCaretPos(&point);
        ClientToScreen(Handle(), &point);
    }
    const auto selected = [this] { return document_.HasSelection(); };
    std::vector<MenuItem> items{
        {.caption = "元に戻す(&U)",
         .onClick = [this](Object*) { Undo(); },
         .enabled = [this] { return document_.CanUndo(); }},
        {},
        {.caption = "切り取り(&T)", .onClick = [this](Object*) { CutToClipboard(); }, .enabled = selected},
        {.caption = "コピー(&C)", .onClick = [this](Object*) { CopyToClipboard(); }, .enabled = selected},
        {.caption = "貼り付け(&P)", .onClick = [this](Object*) { PasteFromClipboard(); }, .enabled = &ClipboardHasText},
        {.caption = "削除(&D)", .onClick = [this](Object*) { ReplaceSelection({}); }, .enabled = selected},
        {},
        {.caption = "すべて選択(&A)",
         .onClick = [this](Object*) { Select(0, document_.Size()); },
         .enabled = [this] { return document_.Size() != 0; }},
    };
    if (!ExtraMenuItems.empty()) items.emplace_back();
    items.insert(items.end(), ExtraMenuItems.begin(), ExtraMenuItems.end());
    PopupMenu(std::move(items)).TrackAt(Handle(), point);
}

}  // namespace ui
