// What the text area edits: its text (in blocks, see TextStore), the rows at its width (RowMap),
// the selection and the caret, the first byte of a typed two-byte character, and one step of undo.
// Every operation here costs what the rows around the caret cost, not what the text holds, except
// those that hand out a range of the text by value.
#pragma once

#include "core/edit_undo.h"
#include "core/offset_anchors.h"
#include "core/row_map.h"
#include "core/text_layout.h"
#include "core/text_store.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace core {

struct TextSelection {
    std::size_t start = 0;
    std::size_t end = 0;
};

enum class CaretStep {
    Left,
    Right,
    WordLeft,
    WordRight,
    Up,
    Down,
    PageUp,
    PageDown,
    RowStart,
    RowEnd,
    TextStart,
    TextEnd
};

// The largest edit whose removed text is kept for undo; a larger one cannot be undone.
inline constexpr std::size_t kMostUndoBytes = 16u << 20;

// What the user should hear about the text, each at most once: the first time the text area fills
// without a page file, and the first time since the text was last set that the oldest lines left it.
struct TextNotices {
    bool full = false;
    bool linesDropped = false;
};

class TextView;

class TextDocument {
public:
    explicit TextDocument(TextStore::PageFileOpener openPageFile = {}, StoreLimits limits = {});
    TextDocument(const TextDocument&) = delete;
    TextDocument& operator=(const TextDocument&) = delete;

    // The store as it stands, for looking at; the text changes only through the operations below.
    const TextStore& Store() const noexcept { return store_; }
    // For a search or a save: reading pages blocks in and out, which changes no byte of the text.
    TextStore& StoreToSearch() noexcept { return store_; }
    std::size_t Size() const noexcept { return store_.Size(); }
    std::string Read(std::size_t from, std::size_t to) { return store_.Read(from, to); }
    std::string Text() { return store_.Read(0, store_.Size()); }
    TextNotices TakeNotices() noexcept;
    // Offsets held outside the document that follow its edits and dropped lines.
    OffsetAnchors& Anchors() noexcept { return anchors_; }

    // The program's own additions at the end: not an edit, nothing to undo. All or nothing.
    // The caret goes to the end unless `keepSelection`.
    void Append(std::string_view bytes, bool keepSelection = false);
    void SetText(std::string_view bytes);
    void Clear() noexcept;
    // The user's Clear: empties the text, and Undo puts it back before whatever arrived since,
    // until the next edit.
    void ClearForUndo() noexcept;
    // The program takes back its own addition: the text from `from` to its end leaves, and what
    // pointed into it points at the new end. Not an edit, nothing to undo.
    void TakeBackFrom(std::size_t from);

    std::size_t Anchor() const noexcept { return anchor_; }
    std::size_t Caret() const noexcept { return caret_; }
    TextSelection Selected() const noexcept;
    bool HasSelection() const noexcept { return anchor_ != caret_; }
    std::string SelectedText();
    // Both ends snap to the start of the character that holds them.
    void Select(std::size_t anchor, std::size_t caret);
    void SelectWordAt(std::size_t offset);

    void ReplaceSelection(std::string_view bytes, EditKind kind = EditKind::Other);
    // An edit that cannot be undone, and leaves no earlier one to undo.
    void ReplaceSelectionForGood(std::string_view bytes);
    bool Undo();
    bool CanUndo() const noexcept { return undo_.CanUndo() || store_.HasSetAside(); }
    void ForgetUndo() noexcept;

    // A typed byte: printable bytes and the two bytes of a two-byte character, Backspace, Enter
    // (a CR LF), Tab. Other control bytes are ignored.
    void Type(unsigned char byte);
    void ForgetTypedLeadByte() noexcept { typedLeadByte_.reset(); }
    void DeleteForward();

    // Moves the caret; with `extend` the anchor stays. `pageRows` is the rows a page holds.
    void Move(CaretStep step, bool extend, std::size_t pageRows);

    // The character boundary in `row` nearest to a point `halfCells` half cells from its left edge.
    std::size_t OffsetInRow(TextRow row, int halfCells);
    // The cell at which `offset` stands in its row.
    int CellOf(std::size_t offset);

    // Bytes that left the front of the text so far (the oldest lines, when it was full).
    std::size_t DroppedBytes() const noexcept { return store_.DroppedBytes(); }

private:
    // After the text is cleared: no undo, no selection or marks into it, no notice still due.
    void ForgetAllButTheText() noexcept;
    friend class TextView;  // the rows on the screen are the view's

    void Replace(TextSelection range, std::string_view bytes);
    // Moves the anchors back by what left the front of the text since the last look.
    void FollowDroppedBytes() noexcept;
    std::size_t CharacterStart(std::size_t offset);
    // A stretch of the text around `offset`, starting on a row's start so on a character boundary.
    struct Window {
        std::string text;
        std::size_t base = 0;
    };
    Window WindowAround(std::size_t offset, std::size_t reach);
    std::size_t PreviousBoundaryOf(std::size_t offset);
    std::size_t NextBoundaryOf(std::size_t offset);

    TextStore store_;
    RowMap rows_;
    EditUndo undo_;
    OffsetAnchors anchors_;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    // The cell the caret keeps to while moving up and down; worked out when first needed.
    int goalCell_ = 0;
    bool goalStale_ = true;
    std::size_t droppedSeen_ = 0;
    bool droppedNoticeGiven_ = false;
    std::optional<char> typedLeadByte_;
};

}  // namespace core
