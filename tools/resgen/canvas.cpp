#include "canvas.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace resgen {

Canvas::Canvas(int width, int height, Colour background) : m_width(width), m_height(height) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("a canvas needs a positive width and height");
    }
    m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background);
}

Colour Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        throw std::out_of_range("pixel outside the canvas");
    }
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void Canvas::Set(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = colour;
}

void Canvas::FillRect(int left, int top, int width, int height, Colour colour) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            Set(x, y, colour);
        }
    }
}

void Canvas::FrameRect(int left, int top, int width, int height, Colour colour) {
    FillRect(left, top, width, 1, colour);
    FillRect(left, top + height - 1, width, 1, colour);
    FillRect(left, top, 1, height, colour);
    FillRect(left + width - 1, top, 1, height, colour);
}

int DrawSquareWave(Canvas& canvas, int left, int highY, int lowY, int bitWidth, const std::vector<bool>& bits,
                   Colour colour) {
    int x = left;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const int levelY = bits[i] ? highY : lowY;
        if (i > 0 && bits[i] != bits[i - 1]) {
            canvas.FillRect(x, std::min(highY, lowY), 1, std::abs(lowY - highY) + 1, colour);
        }
        canvas.FillRect(x, levelY, bitWidth, 1, colour);
        x += bitWidth;
    }
    return x;
}

std::vector<bool> SerialFrame(std::uint8_t byte) {
    std::vector<bool> bits{false};
    for (int i = 0; i < 8; ++i) {
        bits.push_back(((byte >> i) & 1) != 0);
    }
    bits.push_back(true);
    return bits;
}

}  // namespace resgen
