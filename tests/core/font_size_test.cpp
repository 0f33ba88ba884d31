#include "core/font_size.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using core::HeightToPoints;
using core::MulDivRound;
using core::PointsToHeight;

// Rounds to nearest with halves away from zero, through a 64-bit product, -1 when it cannot.
TEST(MulDivRound, RoundsLikeMulDiv) {
    constexpr int kMax = std::numeric_limits<int>::max();
    const struct {
        int number, numerator, denominator, result;
    } cases[] = {
        {12, 96, 72, 16},
        {14, 96, 72, 19},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {3, 1, 2, 2},
        {-3, 1, 2, -2},
        {3, -1, 2, -2},
        {5, 1, -2, -3},
        {-5, -1, -2, -3},
        {-16, 72, 96, -12},
        {-19, 72, 96, -14},
        {100000, 100000, 100000, 100000},
        {kMax, kMax, kMax, kMax},
        {7, 3, 0, -1},
        {kMax, 2, 1, -1},
        {-kMax, 2, 1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MulDivRound(c.number, c.numerator, c.denominator), c.result)
            << c.number << " * " << c.numerator << " / " << c.denominator;
    }
}

TEST(FontSize, ConvertsPointsAndHeightsAt96Ppi) {
    EXPECT_EQ(PointsToHeight(9, 96), -12);
    EXPECT_EQ(PointsToHeight(12, 96), -16);
    EXPECT_EQ(PointsToHeight(14, 96), -19);
    EXPECT_EQ(HeightToPoints(-12, 96), 9);
    EXPECT_EQ(HeightToPoints(-16, 96), 12);
    EXPECT_EQ(HeightToPoints(-19, 96), 14);
}

// A size set in points reads back as the same size at the usual screen resolutions.
TEST(FontSize, EveryWholePointSizeSurvivesTheRoundTrip) {
    for (int ppi : {96, 120, 144}) {
        for (int points = 1; points <= 100; ++points) {
            EXPECT_EQ(HeightToPoints(PointsToHeight(points, ppi), ppi), points) << points << " pt at " << ppi;
        }
    }
}

}  // namespace
