#include "image_files.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using resgen::Bytes;
using resgen::Canvas;
using resgen::Colour;
using resgen_test::Read32;

constexpr Colour kRed{0xFF, 0x00, 0x00};
constexpr Colour kGreen{0x00, 0xFF, 0x00};
constexpr Colour kBlue{0x00, 0x00, 0xFF};
constexpr Colour kWhite{0xFF, 0xFF, 0xFF};
constexpr std::size_t kBmpPixelsAt = 14 + 40;

Bytes PixelBytes(const Bytes& file) { return {file.begin() + kBmpPixelsAt, file.end()}; }

// BMP rows go bottom up, pixels blue-green-red, every row padded with zeros to 4 bytes.
TEST(EncodeBmp24, WritesRowsBottomUpInBgrPaddedToFourBytes) {
    const struct {
        const char* behaviour;
        int width, height;
        std::vector<Colour> pixels;  // top row first
        Bytes data;
    } cases[] = {
        {"one pixel takes one pad byte", 1, 1, {kRed}, {0x00, 0x00, 0xFF, 0x00}},
        {"the bottom row comes first", 1, 2, {kRed, kBlue}, {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00}},
        {"two pixels take two pad bytes", 2, 1, {kGreen, kWhite}, {0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {"four pixels need no padding",
         4,
         1,
         {kRed, kGreen, kBlue, kWhite},
         {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        Canvas canvas(c.width, c.height, kWhite);
        for (std::size_t i = 0; i < c.pixels.size(); ++i) {
            canvas.Set(static_cast<int>(i) % c.width, static_cast<int>(i) / c.width, c.pixels[i]);
        }
        EXPECT_EQ(PixelBytes(resgen::EncodeBmp24(canvas)), c.data) << c.behaviour;
    }
}

resgen::Palette16 TestPalette() {
    resgen::Palette16 palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const auto level = static_cast<std::uint8_t>(i * 16);
        palette[i] = Colour{level, static_cast<std::uint8_t>(255 - level), 7};
    }
    return palette;
}

// Colour rows hold two palette indices a byte, the left pixel in the high nibble; the AND mask
// has a 1 bit, most significant first, for every transparent pixel; both run bottom up.
TEST(EncodeIcon16, PacksIndicesAndMaskBottomUp) {
    const auto palette = TestPalette();
    Canvas canvas(3, 2, palette[0]);
    canvas.Set(0, 0, palette[1]);
    canvas.Set(1, 0, resgen::kTransparent);
    canvas.Set(2, 0, palette[15]);
    canvas.Set(0, 1, palette[12]);
    canvas.Set(2, 1, palette[10]);
    const Bytes file = resgen::EncodeIcon16(canvas, palette);

    const std::size_t colourAt = 6 + 16 + 40 + 16 * 4;
    const Bytes colourRows(file.begin() + colourAt, file.begin() + colourAt + 8);
    const Bytes maskRows(file.begin() + colourAt + 8, file.end());
    EXPECT_EQ(colourRows, (Bytes{0xC0, 0xA0, 0, 0, 0x10, 0xF0, 0, 0})) << "3 pixels of 4 bits padded to 4 bytes";
    EXPECT_EQ(maskRows, (Bytes{0, 0, 0, 0, 0x40, 0, 0, 0})) << "3 pixels of 1 bit padded to 4 bytes";
    EXPECT_EQ(Read32(file, 6 + 16 + 40 + 4 * 12), 0x00C03F07u) << "palette entry 12 as blue 07, green 3F, red C0, 0";
}

// A picture that a format cannot hold is refused rather than written with wrong pixels: a
// transparent pixel in a BMP, a colour outside the palette or a side beyond 256 in an icon.
TEST(ImageFiles, RefusePicturesTheFormatCannotHold) {
    Canvas transparentPixel(2, 2, kWhite);
    transparentPixel.Set(1, 0, resgen::kTransparent);
    EXPECT_THROW(resgen::EncodeBmp24(transparentPixel), std::invalid_argument);
    Canvas foreignColour(2, 2, resgen::kTransparent);
    foreignColour.Set(0, 0, Colour{1, 2, 3});
    EXPECT_THROW(resgen::EncodeIcon16(foreignColour, TestPalette()), std::invalid_argument);
    EXPECT_THROW(resgen::EncodeIcon16(Canvas(257, 1, resgen::kTransparent), TestPalette()), std::invalid_argument);
}

}  // namespace
