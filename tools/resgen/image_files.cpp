#include "image_files.h"

#include <stdexcept>

namespace resgen {
namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kIconDirSize = 6 + 16;
constexpr std::int32_t kPixelsPerMetre96Dpi = 3780;

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::uint32_t RowStride(int width, int bitsPerPixel) {
    return (static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel) + 31) / 32 * 4;
}

void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize,
                   std::int32_t pixelsPerMetre) {
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);  // planes
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0);  // BI_RGB, uncompressed
    Put32(out, imageSize);
    Put32(out, static_cast<std::uint32_t>(pixelsPerMetre));
    Put32(out, static_cast<std::uint32_t>(pixelsPerMetre));
    Put32(out, 0);  // colours used: all that the bit count allows
    Put32(out, 0);  // colours important: all
}

std::uint8_t PaletteIndex(const Palette16& palette, Colour colour) {
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (palette[i] == colour) {
            return static_cast<std::uint8_t>(i);
        }
    }
    throw std::invalid_argument("an icon pixel has a colour that is not in the palette");
}

}  // namespace

Bytes EncodeBmp24(const Canvas& canvas) {
    const std::uint32_t stride = RowStride(canvas.Width(), 24);
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(canvas.Height());
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);  // two reserved words
    Put32(out, offset);
    PutInfoHeader(out, canvas.Width(), canvas.Height(), 24, imageSize, kPixelsPerMetre96Dpi);
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Colour colour = canvas.At(x, y);
            if (!colour.opaque) {
                throw std::invalid_argument("a 24-bit bitmap cannot hold a transparent pixel");
            }
            out.insert(out.end(), {colour.blue, colour.green, colour.red});
        }
        out.resize(out.size() + stride - static_cast<std::uint32_t>(canvas.Width()) * 3, 0);
    }
    return out;
}

Bytes EncodeIcon16(const Canvas& canvas, const Palette16& palette) {
    if (canvas.Width() > 256 || canvas.Height() > 256) {
        throw std::invalid_argument("an icon image is at most 256 x 256 pixels");
    }
    const std::uint32_t colourStride = RowStride(canvas.Width(), 4);
    const std::uint32_t maskStride = RowStride(canvas.Width(), 1);
    const std::uint32_t height = static_cast<std::uint32_t>(canvas.Height());
    const std::uint32_t imageSize = (colourStride + maskStride) * height;
    const std::uint32_t resourceSize = kInfoHeaderSize + 4 * palette.size() + imageSize;

    Bytes out;
    Put16(out, 0);                                                   // reserved
    Put16(out, 1);                                                   // resource type: icon
    Put16(out, 1);                                                   // one image
    out.push_back(static_cast<std::uint8_t>(canvas.Width() % 256));  // 0 stands for 256
    out.push_back(static_cast<std::uint8_t>(canvas.Height() % 256));
    out.push_back(static_cast<std::uint8_t>(palette.size()));
    out.push_back(0);  // reserved
    Put16(out, 1);     // planes
    Put16(out, 4);     // bits per pixel
    Put32(out, resourceSize);
    Put32(out, kIconDirSize);

    // An icon's header counts the colour rows and the mask rows together.
    PutInfoHeader(out, canvas.Width(), 2 * canvas.Height(), 4, imageSize, 0);
    for (const Colour& colour : palette) {
        out.insert(out.end(), {colour.blue, colour.green, colour.red, 0});
    }

    Bytes mask;
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        Bytes colourRow(colourStride, 0);
        Bytes maskRow(maskStride, 0);
        for (int x = 0; x < canvas.Width(); ++x) {
            const Colour colour = canvas.At(x, y);
            const std::uint8_t index = colour.opaque ? PaletteIndex(palette, colour) : 0;
            colourRow[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
            if (!colour.opaque) {
                maskRow[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), colourRow.begin(), colourRow.end());
        mask.insert(mask.end(), maskRow.begin(), maskRow.end());
    }
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

}  // namespace resgen
