#include "core/text_size.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/font_size.h"

namespace {

using core::FromStoredStripSize;
using core::Larger;
using core::Smaller;
using core::TextSizes;

void ExpectSizes(const TextSizes& s, int stripPoints, int stripHeight, int stripWidth, int topBar, int memoPoints) {
    EXPECT_EQ(s.stripPoints, stripPoints);
    EXPECT_EQ(s.stripHeight, stripHeight);
    EXPECT_EQ(s.stripWidth, stripWidth);
    EXPECT_EQ(s.topBarHeight, topBar);
    EXPECT_EQ(s.memoPoints, memoPoints);
}

// The fifteen states that the larger-text button reaches from the layout, with the character
// heights they give at 96 ppi.
TEST(TextSizes, LargerWalksTheFifteenStatesAndStopsAt40Points) {
    const struct {
        int stripPoints, stripCharHeight, stripHeight, stripWidth, topBar, memoPoints, memoCharHeight;
    } states[] = {
        {12, 16, 25, 533, 89, 14, 19},  {14, 19, 27, 553, 91, 16, 21},  {16, 21, 29, 573, 93, 18, 24},
        {18, 24, 31, 593, 95, 20, 27},  {20, 27, 33, 613, 97, 22, 29},  {22, 29, 35, 633, 99, 24, 32},
        {24, 32, 37, 653, 101, 26, 35}, {26, 35, 39, 673, 103, 28, 37}, {28, 37, 41, 693, 105, 30, 40},
        {30, 40, 43, 713, 107, 32, 43}, {32, 43, 45, 733, 109, 34, 45}, {34, 45, 47, 753, 111, 36, 48},
        {36, 48, 49, 773, 113, 38, 51}, {38, 51, 51, 793, 115, 40, 53}, {40, 53, 53, 813, 117, 42, 56},
    };
    TextSizes sizes;
    for (const auto& k : states) {
        SCOPED_TRACE(k.stripPoints);
        ExpectSizes(sizes, k.stripPoints, k.stripHeight, k.stripWidth, k.topBar, k.memoPoints);
        EXPECT_EQ(core::PointsToHeight(sizes.stripPoints, 96), -k.stripCharHeight);
        EXPECT_EQ(core::PointsToHeight(sizes.memoPoints, 96), -k.memoCharHeight);
        sizes = Larger(sizes);
    }
    ExpectSizes(sizes, 40, 53, 813, 117, 42);
}

TEST(TextSizes, SmallerStopsAt12PointsAndUndoesLarger) {
    ExpectSizes(Smaller(TextSizes{}), 12, 25, 533, 89, 14);
    ExpectSizes(Smaller(Larger(TextSizes{})), 12, 25, 533, 89, 14);
}

// A stored size moves every dependent size by its own amount per point, odd sizes included,
// and the steps go on from there.
TEST(TextSizes, StoredStripSizeMovesTheLayout) {
    ExpectSizes(FromStoredStripSize(12), 12, 25, 533, 89, 14);
    ExpectSizes(FromStoredStripSize(13), 13, 26, 543, 90, 15);
    ExpectSizes(FromStoredStripSize(0), 0, 13, 413, 77, 2);

    const TextSizes from13 = Smaller(FromStoredStripSize(13));
    ExpectSizes(from13, 11, 24, 523, 88, 13);
    ExpectSizes(Smaller(from13), 11, 24, 523, 88, 13);

    const TextSizes from39 = Larger(FromStoredStripSize(39));
    ExpectSizes(from39, 41, 54, 823, 118, 43);
    ExpectSizes(Larger(from39), 41, 54, 823, 118, 43);
}

// An absurd stored size leaves the dependent sizes at the ends of the int range, never wrapped.
TEST(TextSizes, AbsurdStoredSizesSaturate) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    ExpectSizes(FromStoredStripSize(kMax), kMax, kMax, kMax, kMax, kMax);
    ExpectSizes(FromStoredStripSize(kMin), kMin, kMin + 13, kMin, kMin + 77, kMin + 2);
    ExpectSizes(Smaller(FromStoredStripSize(kMax)), kMax - 2, kMax - 2, kMax - 20, kMax - 2, kMax - 2);
    ExpectSizes(Larger(FromStoredStripSize(kMin)), kMin + 2, kMin + 15, kMin + 20, kMin + 79, kMin + 4);
}

}  // namespace

// A damaged settings file's strip size is used only from 1 point to an inch (72 points); the sizes
// the steps reach, and odd ones past them, all lie within.
TEST(TextSizes, OnlyStoredSizesThatLeaveAUsableWindowAreTaken) {
    const struct {
        int points;
        bool usable;
    } rows[] = {
        {std::numeric_limits<int>::min(), false},
        {-12, false},
        {0, false},
        {1, true},
        {12, true},
        {13, true},
        {40, true},
        {41, true},
        {72, true},
        {73, false},
        {1000, false},
        {std::numeric_limits<int>::max(), false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(core::IsUsableStoredStripSize(row.points), row.usable) << row.points;
    }
}
