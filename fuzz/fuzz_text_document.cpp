// The text area's engine: random appends, edits, typing, caret steps, undo and width changes on a
// text in tiny blocks, some of them paged out, against a plain string; after each run the rows,
// once refined, against the whole text laid out at once.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/text_document.h"
#include "core/text_layout.h"
#include "fuzz_check.h"
#include "memory_page_file.h"
#include "whole_layout.h"

namespace {

using fuzz::Check;
using testing_support::MemoryPageFile;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    core::StoreLimits limits;
    limits.blockTargetBytes = input.ConsumeIntegralInRange<std::size_t>(1, 40);
    limits.blockMostBytes = limits.blockTargetBytes + input.ConsumeIntegralInRange<std::size_t>(0, 20);
    limits.residentBytes = input.ConsumeIntegralInRange<std::size_t>(0, 200);
    core::TextDocument document([] { return std::make_unique<MemoryPageFile>(); }, limits);
    int columns = input.ConsumeIntegralInRange(1, 20);
    document.Rows().SetColumns(columns);
    std::string model;
    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange(0, 6)) {
        case 0: {
            const std::string bytes = input.ConsumeRandomLengthString(64);
            document.Append(bytes);
            model += bytes;
            break;
        }
        case 1: {
            const std::size_t from = input.ConsumeIntegralInRange<std::size_t>(0, model.size());
            const std::size_t to = input.ConsumeIntegralInRange<std::size_t>(from, model.size());
            const std::string bytes = input.ConsumeRandomLengthString(16);
            document.Store().Replace(from, to, bytes);
            model.replace(from, to - from, bytes);
            break;
        }
        case 2: {
            // Typing replaces the selection, which snaps to whole characters first.
            document.Select(input.ConsumeIntegralInRange<std::size_t>(0, model.size()),
                            input.ConsumeIntegralInRange<std::size_t>(0, model.size()));
            document.Type(input.ConsumeIntegral<unsigned char>());
            model = document.Text();
            break;
        }
        case 3:
            document.Move(static_cast<core::CaretStep>(input.ConsumeIntegralInRange(0, 11)), input.ConsumeBool(),
                          input.ConsumeIntegralInRange<std::size_t>(1, 5));
            Check(document.Caret() <= model.size() && document.Anchor() <= model.size(), "the caret stays in the text");
            break;
        case 4:
            document.Undo();
            model = document.Text();
            break;
        case 5:
            columns = input.ConsumeIntegralInRange(1, 20);
            document.Rows().SetColumns(columns);
            break;
        default: document.Rows().RowAt(input.ConsumeIntegralInRange<std::size_t>(0, model.size())); break;
        }
        Check(document.Size() == model.size(), "the size follows the edits");
    }
    Check(document.Text() == model, "the blocks hold the text");

    testing_support::WholeLayout whole;
    whole.Reset(model, columns);
    while (document.Rows().Refine(64)) {
    }
    Check(document.Rows().RowCount() == whole.RowCount(), "refined rows count as laid out whole");
    for (std::size_t i = 0; i < whole.RowCount(); ++i) {
        const core::TextRow row = document.Rows().RowAtIndex(i);
        Check(row.start == whole.Row(i).start && row.end == whole.Row(i).end, "each row as laid out whole");
    }
    return 0;
}
