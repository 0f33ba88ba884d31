#include "piece_compare.h"
#include "sent_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <span>
#include <vector>

namespace bench {
namespace {

// Hands out the given pieces one after another, then nothing.
std::function<std::string_view()> PiecesOf(std::vector<std::string> pieces) {
    auto held = std::make_shared<std::vector<std::string>>(std::move(pieces));
    auto next = std::make_shared<std::size_t>(0);
    return
        [held, next]() -> std::string_view { return *next < held->size() ? (*held)[(*next)++] : std::string_view(); };
}

// Differences are found by byte offset, however the two sides are cut into pieces.
TEST(FirstDifference, FindsTheFirstDifferingByteWhereverThePiecesEnd) {
    EXPECT_EQ(-1, FirstDifference(PiecesOf({"ab", "cde"}), PiecesOf({"a", "bcd", "e"})));
    EXPECT_EQ(3, FirstDifference(PiecesOf({"ab", "cXe"}), PiecesOf({"abc", "de"})));
    EXPECT_EQ(0, FirstDifference(PiecesOf({"X"}), PiecesOf({"a"})));
}

TEST(FirstDifference, ASideThatEndsEarlyDiffersWhereItEnds) {
    EXPECT_EQ(4, FirstDifference(PiecesOf({"abcd"}), PiecesOf({"ab", "cde"})));
    EXPECT_EQ(4, FirstDifference(PiecesOf({"ab", "cde"}), PiecesOf({"abcd"})));
    EXPECT_EQ(0, FirstDifference(PiecesOf({}), PiecesOf({"a"})));
    EXPECT_EQ(-1, FirstDifference(PiecesOf({}), PiecesOf({})));
}

// A file is read to its end in pieces, then its tail follows; a missing file reads as failed.
TEST(FilePieces, GivesTheFileThenItsTail) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "varnedo-pieces-" + std::to_string(GetCurrentProcessId());
    const std::string content(3 << 19, 'x');  // a megabyte and a half: two reads
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    std::string read;
    {
        FilePieces pieces(path, "T");
        for (std::string_view piece = pieces.Next(); !piece.empty(); piece = pieces.Next()) read += piece;
        EXPECT_FALSE(pieces.Failed());
    }
    DeleteFileA(path.c_str());
    EXPECT_EQ(content + "T", read);

    FilePieces missing(path + "-missing", "T");
    EXPECT_TRUE(missing.Next().empty());
    EXPECT_TRUE(missing.Failed());
}

// The sent text made in pieces is the simulator's stream of that seed and length, each LF as CR LF.
TEST(SentText, IsTheSimulatorsStreamWithEachLfAsCrLf) {
    constexpr std::size_t kCount = (5 << 19) + 7;  // two and a half pieces and a bit
    std::vector<std::uint8_t> raw(kCount);
    devsim::SjisTextSource(7).Read(std::span(raw));
    std::string expected;
    for (const std::uint8_t byte : raw)
        expected += byte == '\n' ? std::string("\r\n") : std::string(1, static_cast<char>(byte));

    SentText sent(7, kCount);
    std::string made;
    for (std::string_view piece = sent.Next(); !piece.empty(); piece = sent.Next()) made += piece;
    EXPECT_GT(made.size(), kCount);
    EXPECT_EQ(expected, made);
}

}  // namespace
}  // namespace bench
