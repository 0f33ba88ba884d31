// Writes a canvas as the two Windows picture files the program's resources take in.
#pragma once

#include "canvas.h"

#include <array>
#include <cstdint>
#include <vector>

namespace resgen {

using Bytes = std::vector<std::uint8_t>;
using Palette16 = std::array<Colour, 16>;

// A 24-bit bottom-up BMP file: BITMAPFILEHEADER, BITMAPINFOHEADER, then the rows from the bottom
// up, each pixel blue-green-red, each row padded to a multiple of 4 bytes. Throws
// std::invalid_argument for a transparent pixel, which the format cannot hold.
Bytes EncodeBmp24(const Canvas& canvas);

// An .ico file with one 16-colour image: ICONDIR, one ICONDIRENTRY, then the BITMAPINFOHEADER
// (height doubled for the two masks), the palette, the 4-bit colour rows and the 1-bit AND mask,
// both bottom-up. A transparent pixel gets AND bit 1 over colour 0; every opaque pixel must
// match a palette entry exactly, otherwise std::invalid_argument is thrown.
Bytes EncodeIcon16(const Canvas& canvas, const Palette16& palette);

}  // namespace resgen
