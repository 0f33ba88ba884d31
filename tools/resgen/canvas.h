// A plain in-memory picture for the program's icon and logo, drawn with a few filled shapes.
#pragma once

#include <cstdint>
#include <vector>

namespace resgen {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool opaque = true;

    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kTransparent{0, 0, 0, false};

// Rows run from the top down, as the shapes are designed; the file writers turn them over.
class Canvas {
public:
    Canvas(int width, int height, Colour background);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Colour At(int x, int y) const;

    // Drawing outside the picture is silently clipped, so shapes may run over its edges.
    void Set(int x, int y, Colour colour);
    void FillRect(int left, int top, int width, int height, Colour colour);
    void FrameRect(int left, int top, int width, int height, Colour colour);

private:
    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
};

// Draws the line level of an asynchronous serial frame: high (idle, a 1 bit) at highY, low (a 0
// bit) at lowY, one bitWidth-wide step per bit, with vertical edges where the level changes.
// Returns the x just after the last bit.
int DrawSquareWave(Canvas& canvas, int left, int highY, int lowY, int bitWidth, const std::vector<bool>& bits,
                   Colour colour);

// The bits an 8N1 line carries for one byte: start bit 0, eight data bits least significant first,
// stop bit 1.
std::vector<bool> SerialFrame(std::uint8_t byte);

}  // namespace resgen
