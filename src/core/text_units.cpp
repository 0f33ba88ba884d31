#include "core/text_units.h"

#include "core/sjis_boundary.h"
#include "core/text_layout.h"

#include <algorithm>
#include <cctype>

namespace core {
namespace {

enum class CharacterClass { Break, Blank, Letter, Symbol, HalfKana, Hiragana, Katakana, Kanji, WideOther };

CharacterClass ClassAt(std::string_view text, std::size_t at) {
    const auto first = static_cast<unsigned char>(text[at]);
    if (first == '\r' || first == '\n') return CharacterClass::Break;
    if (first == ' ' || first == '\t') return CharacterClass::Blank;
    if (std::isalnum(first) != 0 || first == '_') return CharacterClass::Letter;
    if (first >= 0xA1 && first <= 0xDF) return CharacterClass::HalfKana;
    if (SjisCharacterLength(text, at) == 1) return CharacterClass::Symbol;
    const unsigned code = first << 8 | static_cast<unsigned char>(text[at + 1]);
    // The long vowel mark belongs to the kana word it lengthens.
    if (code >= 0x829F && code <= 0x82F1) return CharacterClass::Hiragana;
    if ((code >= 0x8340 && code <= 0x8396) || code == 0x815B) return CharacterClass::Katakana;
    if (code >= 0x889F) return CharacterClass::Kanji;
    return CharacterClass::WideOther;
}

}  // namespace

std::size_t TextUnits::UnitStart(TextUnit unit, std::size_t offset) {
    offset = std::min(offset, Size());
    switch (unit) {
    case TextUnit::Character: return offset == Size() ? PreviousCharacter(offset).value_or(0) : CharacterStart(offset);
    case TextUnit::Word: return WordStart(offset == Size() ? PreviousCharacter(offset).value_or(0) : offset);
    case TextUnit::Line:
    case TextUnit::Page: return view_.RowAt(offset).start;
    case TextUnit::Paragraph: return ParagraphStart(offset);
    case TextUnit::Document: return 0;
    }
    return 0;
}

std::optional<std::size_t> TextUnits::NextStart(TextUnit unit, std::size_t offset) {
    if (offset >= Size()) return std::nullopt;
    switch (unit) {
    case TextUnit::Character: return NextCharacter(offset);
    case TextUnit::Word: return NextWord(offset);
    case TextUnit::Line: return NextLine(offset);
    case TextUnit::Paragraph: return NextParagraph(offset);
    case TextUnit::Page: {
        std::size_t at = offset;
        for (std::size_t i = 0; i < PageRows() && at < Size(); ++i) at = *NextLine(at);
        return at;
    }
    case TextUnit::Document: return Size();
    }
    return std::nullopt;
}

std::optional<std::size_t> TextUnits::PreviousStart(TextUnit unit, std::size_t offset) {
    offset = std::min(offset, Size());
    if (offset == 0) return std::nullopt;
    if (unit == TextUnit::Document) return 0;
    if (unit != TextUnit::Page) return UnitStart(unit, *PreviousCharacter(offset));
    std::size_t at = offset;
    for (std::size_t i = 0; i < PageRows() && at > 0; ++i) at = *PreviousLine(at);
    return at;
}

TextSpan TextUnits::Enclosing(TextUnit unit, std::size_t offset) {
    const std::size_t start = UnitStart(unit, offset);
    return {start, NextStart(unit, start).value_or(Size())};
}

int TextUnits::Move(TextSpan& span, TextUnit unit, int count) {
    const bool empty = span.start == span.end;
    std::size_t at = empty ? std::min(span.start, Size()) : UnitStart(unit, span.start);
    int moved = 0;
    while (moved < count) {
        const std::optional<std::size_t> next = NextStart(unit, at);
        // A span that holds a unit stops at the last unit; an empty one may go on to the end.
        if (!next || (!empty && *next >= Size())) break;
        at = *next;
        ++moved;
    }
    while (moved > count) {
        const std::optional<std::size_t> previous = PreviousStart(unit, at);
        if (!previous) break;
        at = *previous;
        --moved;
    }
    span = empty ? TextSpan{at, at} : Enclosing(unit, at);
    return moved;
}

int TextUnits::MoveEnd(TextSpan& span, SpanEnd end, TextUnit unit, int count) {
    std::size_t at = std::min(end == SpanEnd::Start ? span.start : span.end, Size());
    int moved = 0;
    for (std::optional<std::size_t> next; moved < count && (next = NextStart(unit, at)); ++moved) at = *next;
    for (std::optional<std::size_t> previous; moved > count && (previous = PreviousStart(unit, at)); --moved) {
        at = *previous;
    }
    SetSpanEnd(span, end, at);
    return moved;
}

std::string TextUnits::Read(std::size_t from, std::size_t to, std::size_t mostBytes) {
    to = std::min(to, Size());
    from = std::min(from, to);
    if (to - from > mostBytes) to = std::max(from, CharacterStart(from + mostBytes));
    return document_.Read(from, to);
}

TextSpan TextUnits::NewestLines(std::size_t from, std::size_t mostBytes) {
    const std::size_t size = Size();
    from = std::min(from, size);
    // An unfinished line longer than this holds back what comes before it until it ends.
    const std::size_t lookFrom = size - std::min(size - from, 4 * mostBytes + 2);
    const std::string tail = document_.Read(lookFrom, size);
    const std::size_t lastBreak = tail.rfind("\r\n");
    if (lastBreak == std::string::npos) return {size, size};
    const std::size_t end = lookFrom + lastBreak + 2;
    if (end - from <= mostBytes) return {from, end};
    const std::size_t cut = end - mostBytes;
    const std::size_t lineBreak = tail.find("\r\n", cut - lookFrom);
    if (lookFrom + lineBreak + 2 < end) return {lookFrom + lineBreak + 2, end};
    const std::size_t start = CharacterStart(cut);
    return {start < cut ? *NextCharacter(start) : start, end};
}

std::size_t TextUnits::CharacterStart(std::size_t offset) {
    if (offset == 0 || offset >= Size()) return offset;
    const TextRow row = view_.RowAt(offset);
    const std::string text = document_.Read(row.start, offset + 2);
    return row.start + Boundaries(text).Before(offset - row.start + 1);
}

std::optional<std::size_t> TextUnits::NextCharacter(std::size_t offset) {
    if (offset >= Size()) return std::nullopt;
    return offset + CharacterLength(document_.Read(offset, offset + 2), 0);
}

std::optional<std::size_t> TextUnits::PreviousCharacter(std::size_t offset) {
    if (offset == 0) return std::nullopt;
    const std::size_t from = view_.RowAt(offset - 1).start;
    return from + Boundaries(document_.Read(from, offset + 2)).Before(offset - from);
}

std::size_t TextUnits::WordStart(std::size_t offset) {
    const TextRow row = view_.RowAt(offset);
    const std::string text = document_.Read(row.start, offset + 2);
    std::size_t runStart = 0;
    for (std::size_t at = 0; row.start + at < offset;) {
        const std::size_t next = at + CharacterLength(text, at);
        if (row.start + next > offset) break;
        if (ClassAt(text, next) != ClassAt(text, at)) runStart = next;
        at = next;
    }
    return row.start + runStart;
}

std::optional<std::size_t> TextUnits::NextWord(std::size_t offset) {
    const TextRow row = view_.RowAt(offset);
    const std::optional<TextRow> nextRow = view_.NextRow(row);
    const std::size_t rowEnd = nextRow ? nextRow->start : Size();
    const std::string text = document_.Read(offset, rowEnd + 1);
    const std::size_t length = rowEnd - offset;
    const CharacterClass kind = ClassAt(text, 0);
    std::size_t at = CharacterLength(text, 0);
    while (at < length && ClassAt(text, at) == kind) at += CharacterLength(text, at);
    return offset + std::min(at, length);
}

std::optional<std::size_t> TextUnits::NextLine(std::size_t offset) {
    const std::optional<TextRow> next = view_.NextRow(view_.RowAt(offset));
    return next ? next->start : Size();
}

std::optional<std::size_t> TextUnits::PreviousLine(std::size_t offset) {
    const TextRow row = view_.RowAt(offset);
    if (row.start < offset) return row.start;
    const std::optional<TextRow> previous = view_.PreviousRow(row);
    return previous ? std::optional(previous->start) : std::nullopt;
}

bool TextUnits::StartsParagraph(TextRow row) {
    return row.start == 0 || document_.Read(row.start - std::min<std::size_t>(row.start, 2), row.start) == "\r\n";
}

std::size_t TextUnits::ParagraphStart(std::size_t offset) {
    TextRow row = view_.RowAt(offset);
    for (std::size_t rows = 1; rows < kMostParagraphRows && !StartsParagraph(row); ++rows) {
        const std::optional<TextRow> previous = view_.PreviousRow(row);
        if (!previous) break;
        row = *previous;
    }
    return row.start;
}

std::optional<std::size_t> TextUnits::NextParagraph(std::size_t offset) {
    TextRow row = view_.RowAt(offset);
    for (std::size_t rows = 0; rows < kMostParagraphRows; ++rows) {
        const std::optional<TextRow> next = view_.NextRow(row);
        if (!next) return Size();
        if (StartsParagraph(*next)) return next->start;
        row = *next;
    }
    return view_.NextRow(row).value_or(TextRow{Size(), Size()}).start;
}

std::size_t TextUnits::PageRows() const { return static_cast<std::size_t>(std::max(1, view_.Rows())); }

HeldSpans::~HeldSpans() { Detach(); }

TextSpan* HeldSpans::Hold(TextSpan span) {
    held_.push_back(std::make_unique<TextSpan>(span));
    TextSpan* kept = held_.back().get();
    if (anchors_) {
        anchors_->Add(&kept->start);
        anchors_->Add(&kept->end);
    }
    return kept;
}

void HeldSpans::LetGo(TextSpan* span) noexcept {
    const auto at = std::find_if(held_.begin(), held_.end(), [span](const auto& held) { return held.get() == span; });
    if (at == held_.end()) return;
    if (anchors_) {
        anchors_->Remove(&span->start);
        anchors_->Remove(&span->end);
    }
    held_.erase(at);
}

void HeldSpans::Detach() noexcept {
    if (!anchors_) return;
    for (const auto& span : held_) {
        anchors_->Remove(&span->start);
        anchors_->Remove(&span->end);
    }
    anchors_ = nullptr;
}

void SetSpanEnd(TextSpan& span, SpanEnd end, std::size_t offset) {
    if (end == SpanEnd::Start) {
        span.start = offset;
        span.end = std::max(span.end, offset);
    } else {
        span.end = offset;
        span.start = std::min(span.start, offset);
    }
}

}  // namespace core
