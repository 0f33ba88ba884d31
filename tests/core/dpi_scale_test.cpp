#include "core/dpi_scale.h"

#include <gtest/gtest.h>

namespace {

using core::ScaleFromDpi;
using core::ScaleToDpi;

// Layout pixels grow with the DPI and round to the nearest pixel, halves away from zero.
TEST(DpiScale, ScalesLayoutPixelsToTheDpi) {
    const struct {
        int layout, dpi, scaled;
    } cases[] = {
        {989, 96, 989},  {622, 96, 622}, {989, 120, 1236}, {622, 120, 778},  {989, 144, 1484},
        {622, 144, 933}, {19, 144, 29},  {25, 144, 38},    {989, 192, 1978}, {89, 192, 178},
        {0, 144, 0},     {-3, 144, -5},  {1, 120, 1},      {2, 120, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.scaled, ScaleToDpi(c.layout, c.dpi)) << c.layout << " at " << c.dpi;
    }
    EXPECT_EQ(622, ScaleFromDpi(933, 144));
    EXPECT_EQ(989, ScaleFromDpi(1978, 192));
    EXPECT_EQ(667, ScaleFromDpi(1000, 144));
}

// A window size written at one DPI and read at another means the same: every layout size scaled to
// a DPI of 96 or more and back is the size it was.
TEST(DpiScale, LayoutSizesComeBackFromEveryDpi) {
    for (const int dpi : {96, 108, 120, 144, 168, 192, 240, 288}) {
        for (int layout = 0; layout <= 5000; ++layout) {
            ASSERT_EQ(layout, ScaleFromDpi(ScaleToDpi(layout, dpi), dpi)) << layout << " at " << dpi;
        }
    }
}

}  // namespace
