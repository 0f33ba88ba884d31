// The text area's text in blocks: the bytes and the rows after random appends, edits and width
// changes against a plain string laid out whole; paging to a file and the ends of disk and memory.

#include "core/row_map.h"
#include "core/text_layout.h"
#include "core/text_store.h"
#include "memory_page_file.h"
#include "whole_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

// Tiny blocks, so that a few hundred bytes make many of them.
core::StoreLimits SmallBlocks() {
    core::StoreLimits limits;
    limits.blockTargetBytes = 24;
    limits.blockMostBytes = 32;
    return limits;
}

using testing_support::MemoryPageFile;

std::string RandomPiece(std::mt19937& random, std::size_t most) {
    // A run of letters now and then makes lines that span blocks.
    static const char* const kPieces[] = {"a",    "b",        "c",    " ",  " ",  "\t",          "\r\n",
                                          "\r\n", "\x82\xA0", "\x88", "\n", "\r", "xxxxxxxxxxxx"};
    std::string piece;
    const std::size_t count = std::uniform_int_distribution<std::size_t>(0, most)(random);
    for (std::size_t i = 0; i < count; ++i) piece += kPieces[random() % std::size(kPieces)];
    return piece;
}

void ExpectSameRows(core::RowMap& rows, const std::string& text, int columns, const char* when) {
    testing_support::WholeLayout whole;
    whole.Reset(text, columns);
    while (rows.Refine(100)) {
    }
    ASSERT_EQ(rows.RowCount(), whole.RowCount()) << when;
    // From the last row back: laying out a block mends the counts after it, so a count left wrong
    // shows before the blocks ahead of it are looked at.
    for (std::size_t i = whole.RowCount(); i-- > 0;) {
        const core::TextRow expected = whole.Row(i);
        const core::TextRow row = rows.RowAtIndex(i);
        ASSERT_EQ(row.start, expected.start) << when << " row " << i;
        ASSERT_EQ(row.end, expected.end) << when << " row " << i;
        ASSERT_EQ(rows.RowIndexOf(expected.start), i) << when;
        if (i + 1 < whole.RowCount()) {
            ASSERT_EQ(rows.NextRow(row)->start, whole.Row(i + 1).start) << when;
        }
        if (i > 0) {
            ASSERT_EQ(rows.PreviousRow(row)->start, whole.Row(i - 1).start) << when;
        }
    }
}

// Appends, edits anywhere and width changes, some in runs of many with no row looked at between
// them. Every third round pages to a file with room for only a few blocks in memory; every fourth
// keeps only the newest few hundred bytes, so the oldest lines leave as it goes.
TEST(TextStore, BlocksAndRowsFollowRandomAppendsEditsAndWidths) {
    std::mt19937 random(7);
    std::size_t roundsThatDropped = 0;
    for (int round = 0; round < 150; ++round) {
        core::StoreLimits limits = SmallBlocks();
        if (round % 3 == 0) limits.residentBytes = 64;
        if (round % 4 == 1) limits.maxTextBytes = 240;
        core::TextStore store([] { return std::make_unique<MemoryPageFile>(); }, limits);
        core::RowMap rows(store);
        std::string model;
        std::size_t droppedSeen = 0;
        const auto change = [&](bool edit, bool lookFirst) {
            const std::size_t from = random() % (model.size() + 1);
            const std::size_t to = from + random() % (model.size() - from + 1);
            const std::string piece = RandomPiece(random, edit ? 8 : 40);
            if (!edit) {
                store.Append(piece);
                model += piece;
            } else {
                if (lookFirst) rows.RowAt(from);
                store.Replace(from, to, piece);
                model.replace(from, to - from, piece);
            }
            model.erase(0, store.DroppedBytes() - droppedSeen);
            droppedSeen = store.DroppedBytes();
        };
        int columns = 1 + static_cast<int>(random() % 12);
        rows.SetColumns(columns);
        for (int step = 0; step < 25; ++step) {
            const int action = static_cast<int>(random() % 11);
            if (action < 9) {
                change(action >= 5, true);
            } else if (action == 9) {
                for (int i = 0; i < 20; ++i) change(random() % 2 == 0, false);
            } else {
                columns = 1 + static_cast<int>(random() % 12);
                rows.SetColumns(columns);
            }
            ASSERT_EQ(store.Read(0, store.Size()), model) << "round " << round << " step " << step;
            if (step % 5 == 4) ExpectSameRows(rows, model, columns, "after refining");
        }
        if (round % 3 == 0) {
            EXPECT_LE(store.ResidentBytes(), 64u + limits.blockMostBytes);
        }
        roundsThatDropped += store.DroppedBytes() > 0;
    }
    EXPECT_GT(roundsThatDropped, 10u);
}

TEST(TextStore, RowsOfALineLongerThanManyBlocksBecomeExactByRefining) {
    core::TextStore store({}, SmallBlocks());
    core::RowMap rows(store);
    std::string line;
    for (int i = 0; i < 120; ++i) line += (i % 7 == 0) ? " " : "x\x82\xA0";
    store.Append("head\r\n");
    store.Append(line);
    rows.SetColumns(5);
    // The end of the line is looked at first: its rows are guessed until the refinement arrives.
    rows.RowAt(store.Size());
    ExpectSameRows(rows, "head\r\n" + line, 5, "long line");
    EXPECT_TRUE(rows.Exact());
}

// A row as wide as the widest layout spans many blocks: an edit near its end lays out again the
// block the row starts in, far before the edit, though that block was laid out and kept.
TEST(TextStore, AnEditFarIntoAWideRowLaysOutTheBlockWhereTheRowStarts) {
    core::TextStore store({}, SmallBlocks());
    core::RowMap rows(store);
    const std::string text = "head\r\n" + std::string(core::kMostColumns + 100, 'x');
    const std::size_t rowStart = 6;
    const std::size_t at = rowStart + core::kMostColumns - 6;
    std::string edited = text;
    edited.insert(at, " ");
    testing_support::WholeLayout before, after;
    before.Reset(text, core::kMostColumns);
    after.Reset(edited, core::kMostColumns);
    ASSERT_NE(before.Row(1).end, after.Row(1).end);  // the space moves where the row wraps

    store.Append(text);
    rows.SetColumns(core::kMostColumns);
    EXPECT_EQ(rows.RowAt(rowStart).end, before.Row(1).end);
    store.Replace(at, at, " ");
    EXPECT_EQ(rows.RowAt(rowStart).end, after.Row(1).end);
}

// A block that began inside a line counted its rows from where that line's row began; once it
// begins a line itself (an edit ends the line just before it, or the blocks before it leave) it
// counts them anew from its own start, and the other way round when an edit takes the CR of the
// CR LF before it, even from two blocks before it.
TEST(TextStore, ABlockWhoseLineStartChangesCountsItsRowsAnew) {
    core::TextStore edited({}, SmallBlocks());
    core::RowMap editedRows(edited);
    std::string text(40, 'x');
    edited.Append(text);
    editedRows.SetColumns(5);
    ExpectSameRows(editedRows, text, 5, "before the edit");
    edited.Replace(30, 32, "\r\n");
    ExpectSameRows(editedRows, text.replace(30, 2, "\r\n"), 5, "a line ends just before the second block");

    // The text is long enough that what is appended reaches back to none of the first blocks.
    core::StoreLimits limits = SmallBlocks();
    limits.maxTextBytes = 4 * core::kRowReach;
    core::TextStore dropped({}, limits);
    core::RowMap droppedRows(dropped);
    droppedRows.SetColumns(5);
    dropped.Append(std::string(limits.maxTextBytes - 100, 'x'));
    while (dropped.DroppedBytes() == 0) {
        while (droppedRows.Refine(1000)) {
        }
        dropped.Append("xxxxxxx");
    }
    ExpectSameRows(droppedRows, std::string(dropped.Size(), 'x'), 5, "the oldest blocks of a line left");

    core::StoreLimits oneByte;
    oneByte.blockTargetBytes = oneByte.blockMostBytes = 1;
    core::TextStore bytes({}, oneByte);
    core::RowMap bytesRows(bytes);
    bytesRows.SetColumns(5);
    bytes.Append("ab\r\ncd");
    ExpectSameRows(bytesRows, "ab\r\ncd", 5, "one byte a block");
    bytes.Replace(0, 3, "");
    ExpectSameRows(bytesRows, "\ncd", 5, "the CR before the one-byte block of the LF went");
}

TEST(TextStore, AFailedEditLeavesTheTextAsItWas) {
    // A block that cannot be read back makes the edit fail before anything changed.
    auto broken = std::make_shared<bool>(false);
    class BreakablePageFile : public MemoryPageFile {
    public:
        explicit BreakablePageFile(std::shared_ptr<bool> broken) : broken_(std::move(broken)) {}
        bool ReadAt(std::uint64_t position, char* into, std::size_t size) override {
            return !*broken_ && MemoryPageFile::ReadAt(position, into, size);
        }

    private:
        std::shared_ptr<bool> broken_;
    };
    core::StoreLimits limits = SmallBlocks();
    limits.residentBytes = 1;
    core::TextStore store([broken] { return std::make_unique<BreakablePageFile>(broken); }, limits);
    store.Append(std::string(100, 'a') + "\r\n" + std::string(100, 'b'));
    *broken = true;
    EXPECT_THROW(store.Replace(0, 1, "z"), core::PageReadError);
    *broken = false;
    EXPECT_EQ(store.Read(0, store.Size()), std::string(100, 'a') + "\r\n" + std::string(100, 'b'));
}

TEST(TextStore, WithoutADiskTheTextStaysInMemoryThenWarnsThenDropsTheOldestLines) {
    struct Case {
        const char* behaviour;
        core::TextStore::PageFileOpener opener;
    } cases[] = {
        {"no page file can be made", [] { return std::unique_ptr<core::PageFile>(); }},
        {"the page file fills after two blocks", [] { return std::make_unique<MemoryPageFile>(2); }},
    };
    for (const Case& c : cases) {
        core::StoreLimits limits = SmallBlocks();
        limits.residentBytes = 40;
        limits.memoryBytes = 400;
        core::TextStore store(c.opener, limits);
        std::string model;
        int fullNotices = 0;
        bool dropped = false;
        for (int line = 0; line < 60; ++line) {
            const std::string text = "line " + std::to_string(line) + "\r\n";
            store.Append(text);
            model += text;
            const core::StoreNotices notices = store.TakeNotices();
            fullNotices += notices.full;
            dropped = dropped || notices.linesDropped;
        }
        EXPECT_TRUE(store.PagingFailed()) << c.behaviour;
        EXPECT_EQ(fullNotices, 1) << c.behaviour;
        EXPECT_TRUE(dropped) << c.behaviour;
        EXPECT_LE(store.ResidentBytes(), 400u) << c.behaviour;
        // What stays is the newest part of what was added, from a line's start on.
        const std::string kept = store.Read(0, store.Size());
        EXPECT_EQ(model.substr(store.DroppedBytes()), kept) << c.behaviour;
        EXPECT_EQ(kept.rfind("line ", 0), 0u) << c.behaviour;
    }
}

// A pass over the whole text reads paged blocks without bringing them back: the blocks in memory
// before it are the ones in memory after it, and the bytes are the text's, from any offset on.
TEST(TextStore, AScanReadsPagedBlocksWithoutKeepingThem) {
    core::StoreLimits limits = SmallBlocks();
    limits.residentBytes = 64;
    core::TextStore store([] { return std::make_unique<MemoryPageFile>(); }, limits);
    std::string model;
    for (int line = 0; line < 40; ++line) model += "line " + std::to_string(line) + "\r\n";
    store.Append(model);
    const auto residentBlocks = [&store] {
        std::vector<bool> resident;
        for (std::size_t i = 0; i < store.BlockCount(); ++i) resident.push_back(store.Block(i).resident);
        return resident;
    };
    const std::vector<bool> before = residentBlocks();
    ASSERT_LT(std::count(before.begin(), before.end(), true), static_cast<long>(before.size()) / 2);
    for (std::size_t from : {std::size_t{0}, std::size_t{7}, model.size() / 2}) {
        std::string scanned;
        store.ScanPieces(from, model.size(), [&scanned](std::string_view piece) {
            scanned.append(piece);
            return true;
        });
        EXPECT_EQ(scanned, model.substr(from)) << "from " << from;
    }
    EXPECT_EQ(residentBlocks(), before);
}

TEST(TextStore, TheLargestTextKeepsItsNewestLines) {
    core::StoreLimits limits = SmallBlocks();
    limits.maxTextBytes = 300;
    core::TextStore store({}, limits);
    for (int i = 0; i < 100; ++i) store.Append("0123456789\r\n");
    EXPECT_LE(store.Size(), 300u);
    EXPECT_EQ(store.Size() + store.DroppedBytes(), 1200u);
    EXPECT_EQ(store.Read(0, 12), "0123456789\r\n");
}

TEST(PageSpace, ReusesFreedExtentsAndShrinksAtTheEnd) {
    core::PageSpace space;
    const core::PageExtent a = space.Take(10), b = space.Take(20), c = space.Take(30);
    space.Give(a);
    EXPECT_EQ(space.Take(5).position, 0u);  // first fit, in the freed room
    space.Give(b);
    space.Give({0, 5});
    EXPECT_EQ(space.Take(30).position, 0u);  // neighbours joined: 0..30 is one free extent
    space.Give({0, 30});
    space.Give(c);
    EXPECT_EQ(space.Length(), 0u);  // all free: nothing left at the end
}

}  // namespace
