#include "pixel_font.h"

#include <array>
#include <stdexcept>
#include <string>

namespace resgen {
namespace {

struct Glyph {
    char character;
    std::array<const char*, kGlyphHeight> rows;  // '#' is ink, '.' is paper
};

// Lower-case letters sit on the same baseline as capitals and reach up to row 2.
constexpr Glyph kGlyphs[] = {
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'d', {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'n', {".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.character == c) {
            return &glyph;
        }
    }
    return nullptr;
}

}  // namespace

bool HasGlyph(char c) { return FindGlyph(c) != nullptr; }

int TextWidth(std::string_view text, int scale, int gap) {
    if (text.empty()) {
        return 0;
    }
    const int count = static_cast<int>(text.size());
    return count * kGlyphWidth * scale + (count - 1) * gap;
}

void DrawText(Canvas& canvas, int left, int top, std::string_view text, int scale, int gap, Colour colour) {
    int x = left;
    for (char c : text) {
        const Glyph* glyph = FindGlyph(c);
        if (glyph == nullptr) {
            throw std::invalid_argument(std::string("the pixel font has no glyph for '") + c + "'");
        }
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (glyph->rows[static_cast<std::size_t>(row)][column] == '#') {
                    canvas.FillRect(x + column * scale, top + row * scale, scale, scale, colour);
                }
            }
        }
        x += kGlyphWidth * scale + gap;
    }
}

}  // namespace resgen
