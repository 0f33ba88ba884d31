// A tiny hand-made 5 x 7 pixel font, just the letters the logo spells.
#pragma once

#include "canvas.h"

#include <string_view>

namespace resgen {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Whether the font has a glyph for the character.
bool HasGlyph(char c);

// The width in pixels of the text drawn with DrawText: glyphs scaled by scale, gap pixels between
// neighbours (not scaled, so a large text can still be set tightly).
int TextWidth(std::string_view text, int scale, int gap);

// Draws the text with its top left corner at (left, top), each font pixel as a scale x scale
// square. Throws std::invalid_argument for a character the font lacks rather than leaving a hole.
void DrawText(Canvas& canvas, int left, int top, std::string_view text, int scale, int gap, Colour colour);

}  // namespace resgen
