#include "core/text_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using core::EncodeForSave;
using core::LineReader;
using core::ReadPieces;
using Lines = std::vector<std::string>;

// A dropped file is taken as a transcript by its ".txt" ending alone, in any case.
TEST(IsTextFileName, TakesTheTxtEndingInAnyCase) {
    EXPECT_TRUE(core::IsTextFileName(L"C:\\logs\\202601021530.txt"));
    EXPECT_TRUE(core::IsTextFileName(L"LOG.TXT"));
    EXPECT_TRUE(core::IsTextFileName(L".Txt"));
    EXPECT_FALSE(core::IsTextFileName(L"log.txt.bak"));
    EXPECT_FALSE(core::IsTextFileName(L"logtxt"));
    EXPECT_FALSE(core::IsTextFileName(L"txt"));
    EXPECT_FALSE(core::IsTextFileName(L"\uFF4C.\uFF54\uFF58\uFF54")) << "full-width letters are other letters";
}

// Saving writes every line break as CR LF, never CR CR LF, and leaves every other byte alone.
TEST(EncodeForSave, WritesLineBreaksAsCrLf) {
    const struct {
        std::string text, file;
    } cases[] = {
        {"", ""},
        {"A\r\nB", "A\r\nB"},
        {"A\nB", "A\r\nB"},
        {"\n", "\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"A\rB", "A\rB"},
        {"A\r", "A\r"},
        {"abc\n\r\n", "abc\r\n\r\n"},
        {"A\r\r\nB", "A\r\r\nB"},
        {std::string("\x82\xA0\0\x1A", 4), std::string("\x82\xA0\0\x1A", 4)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeForSave(c.text), c.file) << "text: " << testing::PrintToString(c.text);
    }
}

Lines ReadLines(std::string_view file, std::size_t chunkSize) {
    LineReader reader;
    Lines lines;
    for (std::size_t at = 0; at < file.size(); at += chunkSize) {
        reader.Feed(file.substr(at, chunkSize));
        for (std::string& line : reader.TakeLines()) {
            lines.push_back(std::move(line));
        }
    }
    reader.Finish();
    for (std::string& line : reader.TakeLines()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

// n two-byte characters, among them ones whose second byte is 5C or 7C, or looks like a lead byte.
std::string TwoByteRun(std::size_t n) {
    static const char* const kCharacters[] = {"\x82\xA0", "\x95\x5C", "\x83\x7C", "\x8A\xBF",
                                              "\x81\x81"};  // あ表ポ漢＝
    std::string run;
    for (std::size_t i = 0; i < n; ++i) {
        run += kCharacters[i % std::size(kCharacters)];
    }
    return run;
}

struct LineCase {
    const char* behaviour;
    std::string file;
    Lines lines;
};

// A file reads as its lines whatever its line ends, and however it is cut into chunks.
const LineCase kLineCases[] = {
    {"an empty file has no lines", "", {}},
    {"a lone LF is one empty line", "\n", {""}},
    {"CR LF, CR CR LF and LF all end a line", "a\r\nb\r\r\nc\n", {"a", "b", "c"}},
    {"a last line without LF still counts", "a\nb", {"a", "b"}},
    {"CRs are dropped wherever they stand", "\ra\rb\r\n\r", {"ab"}},
    {"a file of CRs has no lines", "\r\r\r", {}},
    {"Ctrl-Z ends the file",
     "a\nb\x1A"
     "c\nd\n",
     {"a", "b"}},
    {"Ctrl-Z at the start leaves nothing",
     "\x1A"
     "a\n",
     {}},
    {"a NUL byte is dropped on its own", std::string("a\0b\n\0\n", 6), {"ab", ""}},
    {"empty lines stay", "a\n\n\nb\n", {"a", "", "", "b"}},
    {"Shift_JIS passes through, a 5C second byte included", "\x95\x5C\x82\xA0\n", {"\x95\x5C\x82\xA0"}},
    {"a long line is one line", std::string(5000, 'x') + "\n", {std::string(5000, 'x')}},
    {"a 5,000-byte line of two-byte characters is one line, no character split",
     TwoByteRun(2500) + "\r\n" + "z\r\n",
     {TwoByteRun(2500), "z"}},
};

TEST(LineReader, ReadsLinesInAnyChunkSize) {
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.behaviour);
        for (std::size_t chunk : {1u, 2u, 3u, 7u, 4096u}) {
            EXPECT_EQ(ReadLines(c.file, chunk), c.lines) << "chunk size " << chunk;
        }
    }
}

TEST(LineReader, ReportsCtrlZAndIgnoresLaterInput) {
    LineReader reader;
    reader.Feed("a\nb");
    EXPECT_FALSE(reader.Ended());
    reader.Feed(
        "\x1A"
        "c\n");
    EXPECT_TRUE(reader.Ended());
    reader.Feed("d\n");
    reader.Finish();
    EXPECT_EQ(reader.TakeLines(), (Lines{"a", "b"}));
}

TEST(LineReader, HandsOutEachLineOnce) {
    LineReader reader;
    reader.Feed("a\nb\n");
    EXPECT_EQ(reader.TakeLines(), (Lines{"a", "b"}));
    EXPECT_EQ(reader.TakeLines(), Lines{});
}

TEST(LineReader, ReadsTenMegabytesInOnePass) {
    std::string file;
    const std::string line = std::string(99, 'q') + "\r\n";
    while (file.size() < 10'000'000) {
        file += line;
    }
    const std::size_t lineCount = file.size() / line.size();
    const Lines lines = ReadLines(file, 65536);
    ASSERT_EQ(lines.size(), lineCount);
    EXPECT_EQ(lines.back(), std::string(99, 'q'));

    const Lines oneLine = ReadLines(std::string(10'000'000, 'w'), 65536);
    ASSERT_EQ(oneLine.size(), 1u);
    EXPECT_EQ(oneLine[0].size(), 10'000'000u);
}

struct PieceCase {
    const char* behaviour;
    std::string file;
    std::size_t bufferSize;
    Lines pieces;
};

// A fixed line buffer keeps each LF and cuts long lines one byte short of its size.
const PieceCase kPieceCases[] = {
    {"LF stays in its piece, CR is dropped", "3\r\n1\r\n14", 16, {"3\n", "1\n", "14"}},
    {"15 spaces and 3 are two pieces", "               3\n", 16, {"               ", "3\n"}},
    {"a line of 1023 bytes plus LF: the LF is a piece of its own",
     std::string(1023, 'a') + "\n",
     1024,
     {std::string(1023, 'a'), "\n"}},
    {"Ctrl-Z ends the file",
     "1\n2\x1A"
     "3\n",
     16,
     {"1\n", "2"}},
    {"a NUL cuts its piece, the rest of the piece is lost", std::string("ab\0cd\nef\n", 9), 16, {"ab", "ef\n"}},
    {"a piece that starts with NUL is empty but still a piece", std::string("\0\n7\n", 4), 16, {"", "7\n"}},
    {"an empty file has no pieces", "", 16, {}},
    {"a file of CRs has no pieces", "\r\r", 16, {}},
    {"a CR does not count toward the piece's length", "abc\rdef", 4, {"abc", "def"}},
    {"a buffer too small for a byte still advances", "ab", 1, {"a", "b"}},
};

TEST(ReadPieces, CutsTheFileLikeAFixedLineBuffer) {
    for (const PieceCase& c : kPieceCases) {
        SCOPED_TRACE(c.behaviour);
        EXPECT_EQ(ReadPieces(c.file, c.bufferSize), c.pieces);
    }
}

TEST(ReadPieces, StopsAfterTheRequestedNumberOfPieces) {
    EXPECT_EQ(ReadPieces("1\n2\n3\n", 16, 2), (Lines{"1\n", "2\n"}));
    EXPECT_EQ(ReadPieces("1\n2", 16, 0), Lines{});
}

}  // namespace
