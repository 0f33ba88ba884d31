#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace core {

// Colours are 0x00BBGGRR: blue in the high byte, red in the low byte.
struct ColourScheme {
    std::uint32_t background;
    std::uint32_t text;
};

// Indexed by the colour-scheme radio group's selection (item "1" is row 0).
inline constexpr std::array<ColourScheme, 3> ColourSchemes{{
    {0x000000, 0x00FF00},  // green on black
    {0xFFFFFF, 0x000000},  // black on white
    {0xFFFF80, 0x000055},  // dark red on light cyan
}};

// The text area's colours until a scheme is applied: lime on silver.
inline constexpr std::uint32_t kLayoutBackground = 0xC0C0C0;
inline constexpr std::uint32_t kLayoutText = 0x00FF00;

// The scheme that a radio-group selection names; nullopt outside 0..2 (no selection), and the
// text area then keeps the colours it has.
std::optional<ColourScheme> SchemeForSelection(int selection);

// The radio-group selection for the stored scheme value: -1 or less is none (-1), 0..2 the row
// itself, 3 the last row, and a value above 3 row 0.
int RadioSelectionForStoredScheme(int storedScheme);

}  // namespace core
