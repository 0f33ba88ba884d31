// The text area's engine: random appends, edits, typing, caret steps, undo, scrolling and width
// changes on a text in tiny blocks, some of them paged out, against a plain string edited by rules
// of its own; the view against the whole text laid out at once.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/text_layout.h"
#include "core/text_view.h"
#include "fuzz_check.h"
#include "memory_page_file.h"
#include "whole_layout.h"

namespace {

using fuzz::Check;
using testing_support::MemoryPageFile;

// The text as the user's edits should leave it, worked out without the document's code.
struct Model {
    std::string text;
    std::size_t anchor = 0, caret = 0;
    int leadByte = -1;
    // What undo may bring back: the texts since undo was last emptied, with later arrivals added.
    std::vector<std::string> earlier;

    static bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
    std::size_t Length(std::size_t at) const {
        if (at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n') return 2;
        const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
        const bool pair = next >= 0x40 && next <= 0xFC && next != 0x7F;
        return IsLead(static_cast<unsigned char>(text[at])) && pair ? 2 : 1;
    }
    std::size_t StartOf(std::size_t offset) const {
        std::size_t at = 0;
        while (at < offset && at + Length(at) <= offset) at += Length(at);
        return std::min(at, text.size());
    }
    void Select(std::size_t a, std::size_t c) {
        anchor = StartOf(std::min(a, text.size()));
        caret = StartOf(std::min(c, text.size()));
    }
    void Replace(std::string_view bytes) {
        earlier.push_back(text);
        const std::size_t from = std::min(anchor, caret), to = std::max(anchor, caret);
        text.replace(from, to - from, bytes);
        anchor = caret = StartOf(from + bytes.size());
    }
    void Type(unsigned char byte) {
        if (leadByte >= 0) {
            const char pair[2] = {static_cast<char>(leadByte), static_cast<char>(byte)};
            leadByte = -1;
            return Replace(std::string_view(pair, 2));
        }
        if (byte == '\b' && anchor == caret && caret > 0) anchor = StartOf(caret - 1);
        if (byte == '\b') return Replace({});
        if (byte == '\r') return Replace("\r\n");
        if (byte < 0x20 && byte != '\t') return;
        if (byte == 0x7F) return;
        if (IsLead(byte)) {
            leadByte = byte;
            return;
        }
        const char typed = static_cast<char>(byte);
        Replace(std::string_view(&typed, 1));
    }
};

void CheckView(core::TextView& view, const std::string& text, int columns, int rows) {
    // Rows of a line longer than a few blocks are guessed until the background layout reaches them,
    // as it does here first.
    while (view.Refine(256)) {
    }
    testing_support::WholeLayout whole;
    whole.Reset(text, columns);
    const std::vector<core::TextRow>& shown = view.ShownRows();
    const std::size_t top = whole.RowOf(shown.front().start);
    Check(whole.Row(top).start == shown.front().start && shown.front().start <= view.Top(), "the top starts a row");
    const std::size_t count = whole.RowCount();
    Check(count <= static_cast<std::size_t>(rows) || top <= count - rows, "the view goes no further than the end");
    for (std::size_t i = 0; i < shown.size(); ++i) {
        Check(top + i < whole.RowCount() && shown[i].start == whole.Row(top + i).start &&
                  shown[i].end == whole.Row(top + i).end,
              "the rows on the screen as laid out whole");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    core::StoreLimits limits;
    limits.blockTargetBytes = input.ConsumeIntegralInRange<std::size_t>(1, 40);
    limits.blockMostBytes = limits.blockTargetBytes + input.ConsumeIntegralInRange<std::size_t>(0, 20);
    limits.residentBytes = input.ConsumeIntegralInRange<std::size_t>(0, 200);
    core::TextDocument document([] { return std::make_unique<MemoryPageFile>(); }, limits);
    core::TextView view(document);
    int columns = input.ConsumeIntegralInRange(1, 20), rows = input.ConsumeIntegralInRange(1, 6);
    view.SetSize(columns, rows);
    Model model;
    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange(0, 8)) {
        case 0: {
            const std::string bytes = input.ConsumeRandomLengthString(64);
            const bool held = input.ConsumeBool();
            view.Hold(core::ViewHold::ScrollLock, held);
            view.Append(bytes);
            model.text += bytes;
            for (std::string& text : model.earlier) text += bytes;
            if (!held) {
                model.anchor = model.caret = model.text.size();
                Check(view.AtEnd(), "arriving text takes the view to the end");
            }
            break;
        }
        case 1:
        case 2: {
            const std::size_t a = input.ConsumeIntegralInRange<std::size_t>(0, model.text.size() + 2);
            const std::size_t c = input.ConsumeIntegralInRange<std::size_t>(0, model.text.size() + 2);
            document.Select(a, c);
            model.Select(a, c);
            if (input.ConsumeBool()) {
                const std::string bytes = input.ConsumeRandomLengthString(16);
                document.ReplaceSelection(bytes);
                model.Replace(bytes);
            } else {
                const unsigned char byte = input.ConsumeIntegral<unsigned char>();
                document.Type(byte);
                model.Type(byte);
            }
            break;
        }
        case 3:
            document.Move(static_cast<core::CaretStep>(input.ConsumeIntegralInRange(0, 11)), input.ConsumeBool(),
                          input.ConsumeIntegralInRange<std::size_t>(1, 5));
            model.anchor = document.Anchor();
            model.caret = document.Caret();
            Check(model.caret <= model.text.size() && model.StartOf(model.caret) == model.caret,
                  "the caret stays on a character's start");
            view.ScrollCaretIntoView();
            Check(view.Caret().row >= 0 && view.Caret().row < rows, "the caret is brought on the screen");
            break;
        case 4: {
            const std::string before = document.Text();
            if (!document.Undo()) break;
            bool seen = false;
            for (const std::string& text : model.earlier) seen = seen || text == document.Text();
            Check(seen, "undo brings back a text the edits went through");
            Check(document.Undo() && document.Text() == before, "a second undo puts the edit back");
            model.anchor = document.Anchor();
            model.caret = document.Caret();
            break;
        }
        case 5:
            columns = input.ConsumeIntegralInRange(1, 20);
            rows = input.ConsumeIntegralInRange(1, 6);
            view.SetSize(columns, rows);
            break;
        case 6: view.ScrollRows(input.ConsumeIntegralInRange(-8, 8)); break;
        case 7: view.ScrollToRowIndex(input.ConsumeIntegralInRange<std::size_t>(0, 64)); break;
        default: view.Centre(input.ConsumeIntegralInRange<std::size_t>(0, model.text.size())); break;
        }
        Check(document.Text() == model.text, "the text follows the edits as the rules say");
        CheckView(view, model.text, columns, rows);
    }

    testing_support::WholeLayout whole;
    whole.Reset(model.text, columns);
    while (view.Refine(64)) {
    }
    Check(view.RowCount() == whole.RowCount(), "refined rows count as laid out whole");
    for (std::size_t i = 0; i < whole.RowCount(); ++i) {
        const core::TextRow row = view.RowAtIndex(i);
        Check(row.start == whole.Row(i).start && row.end == whole.Row(i).end, "each row as laid out whole");
    }
    return 0;
}
