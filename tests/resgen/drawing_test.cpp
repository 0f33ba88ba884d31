#include "canvas.h"
#include "pixel_font.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using resgen::Canvas;
using resgen::Colour;

constexpr Colour kInk{0x00, 0x00, 0x80};
constexpr Colour kPaper{0xFF, 0xFF, 0xFF};

// An 8N1 frame is a 0 start bit, the eight data bits least significant first, and a 1 stop bit.
TEST(SerialFrame, CarriesStartBitDataBitsLsbFirstAndStopBit) {
    const struct {
        std::uint8_t byte;
        std::string bits;
    } cases[] = {
        {0x00, "0000000001"}, {0xFF, "0111111111"}, {0x01, "0100000001"},
        {0x80, "0000000011"}, {'V', "0011010101"},  // 0x56 = 0101 0110
    };
    for (const auto& c : cases) {
        std::string bits;
        for (bool bit : resgen::SerialFrame(c.byte)) {
            bits += bit ? '1' : '0';
        }
        EXPECT_EQ(bits, c.bits) << "byte 0x" << std::hex << int{c.byte};
    }
}

// A scaled letter is the plain letter with every pixel grown into a square, and a letter the
// font lacks is refused rather than left blank.
TEST(DrawText, ScalesEveryPixelIntoASquareAndRefusesUnknownLetters) {
    for (const char letter : std::string("Varnedo")) {
        Canvas plain(resgen::kGlyphWidth, resgen::kGlyphHeight, kPaper);
        Canvas scaled(3 * resgen::kGlyphWidth, 3 * resgen::kGlyphHeight, kPaper);
        resgen::DrawText(plain, 0, 0, std::string(1, letter), 1, 0, kInk);
        resgen::DrawText(scaled, 0, 0, std::string(1, letter), 3, 0, kInk);
        int ink = 0;
        for (int y = 0; y < scaled.Height(); ++y) {
            for (int x = 0; x < scaled.Width(); ++x) {
                ASSERT_EQ(scaled.At(x, y), plain.At(x / 3, y / 3)) << letter << " at " << x << ',' << y;
                ink += scaled.At(x, y) == kInk;
            }
        }
        EXPECT_GT(ink, 0) << "the letter " << letter << " is drawn";
    }
    Canvas canvas(20, 8, kPaper);
    EXPECT_THROW(resgen::DrawText(canvas, 0, 0, "Vx", 1, 1, kInk), std::invalid_argument);
}

}  // namespace
