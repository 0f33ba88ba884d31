// The units in which a screen reader walks the text area's text, and the ranges it holds: a
// character (a CR LF and a two-byte character are one), a word (a run of characters of one class,
// never reaching past its row), a line (a row as shown, with its line break), a paragraph (up to
// and with a line break), a page (a screen of rows) and the whole text. Every step costs a few
// rows, whatever the text holds; only a paragraph longer than kMostParagraphRows rows is cut into
// pieces of that many rows, counted from where the step starts.
#pragma once

#include "core/text_view.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace core {

enum class TextUnit { Character, Word, Line, Paragraph, Page, Document };

inline constexpr std::size_t kMostParagraphRows = 4096;

struct TextSpan {
    std::size_t start = 0;
    std::size_t end = 0;
};

enum class SpanEnd { Start, End };

class TextUnits {
public:
    TextUnits(TextDocument& document, TextView& view) : document_(document), view_(view) {}

    // The start of the unit that holds `offset`; the text's end belongs to the unit before it.
    std::size_t UnitStart(TextUnit unit, std::size_t offset);
    // The first unit start after `offset`, the text's end counting as one; none at the end.
    std::optional<std::size_t> NextStart(TextUnit unit, std::size_t offset);
    // The last unit start before `offset`; none at the start.
    std::optional<std::size_t> PreviousStart(TextUnit unit, std::size_t offset);

    // The unit that holds the span's start.
    TextSpan Enclosing(TextUnit unit, std::size_t offset);
    // Moves an empty span by `count` unit starts; any other span becomes the unit `count` units
    // from the one that holds its start. Returns how many units it moved (less at either end).
    int Move(TextSpan& span, TextUnit unit, int count);
    // Moves one end by `count` unit starts; the other end follows when it would be passed.
    int MoveEnd(TextSpan& span, SpanEnd end, TextUnit unit, int count);

    // The newest complete lines after `from`, at most `mostBytes` of them: from a line's start where
    // one fits, else from a character's start; empty when no line was completed after `from`.
    TextSpan NewestLines(std::size_t from, std::size_t mostBytes);

    // The text of [from, to), cut after at most `mostBytes` bytes at a character's start.
    std::string Read(std::size_t from, std::size_t to, std::size_t mostBytes);

private:
    std::size_t CharacterStart(std::size_t offset);
    std::optional<std::size_t> NextCharacter(std::size_t offset);
    std::optional<std::size_t> PreviousCharacter(std::size_t offset);
    std::size_t WordStart(std::size_t offset);
    std::optional<std::size_t> NextWord(std::size_t offset);
    std::optional<std::size_t> NextLine(std::size_t offset);
    std::optional<std::size_t> PreviousLine(std::size_t offset);
    bool StartsParagraph(TextRow row);
    std::size_t ParagraphStart(std::size_t offset);
    std::optional<std::size_t> NextParagraph(std::size_t offset);
    std::size_t PageRows() const;
    std::size_t Size() const { return document_.Size(); }

    TextDocument& document_;
    TextView& view_;
};

// The spans that readers outside hold: their ends follow edits and dropped lines while the text
// lives. After Detach (the text goes away first) they keep their last offsets.
class HeldSpans {
public:
    explicit HeldSpans(OffsetAnchors& anchors) : anchors_(&anchors) {}
    ~HeldSpans();
    HeldSpans(const HeldSpans&) = delete;
    HeldSpans& operator=(const HeldSpans&) = delete;

    // The span stays where it is until let go.
    TextSpan* Hold(TextSpan span);
    void LetGo(TextSpan* span) noexcept;
    void Detach() noexcept;
    bool Attached() const noexcept { return anchors_ != nullptr; }

private:
    OffsetAnchors* anchors_;
    std::vector<std::unique_ptr<TextSpan>> held_;
};

// Sets one end of a span; the other end follows when it would be passed.
void SetSpanEnd(TextSpan& span, SpanEnd end, std::size_t offset);

}  // namespace core
