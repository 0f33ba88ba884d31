#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace core {

// What one receive tick hands to the next: the recent-text strip, and the first byte of a
// two-byte character that still waits for its second byte (0 when none waits).
struct ReceiveState {
    std::string strip;
    unsigned char leadByte = 0;
    // The text so far ends in the first byte of a two-byte character that was shown as a piece of
    // its own (0x81..0x9F and 0xE0..0xFC outside 0x80..0x8F): the next byte is its second byte,
    // even when it lies in 0x80..0x8F, and must not be held back as a first byte. Held back, it
    // would land after a following line break and split the character from its second byte.
    bool secondByteDue = false;
};

// A strip that already holds this many bytes starts again with the next piece, so it never
// holds more than one byte less than this plus a two-byte piece.
inline constexpr std::size_t kStripRestartBytes = 30;

// Only 0x80..0x8F are taken as the first byte of a two-byte character; other Shift_JIS first
// bytes arrive as pieces of their own and still read whole once both are in the text (their
// second byte, whatever its value, comes as a piece of its own too).
constexpr bool OpensTwoByteCharacter(unsigned char b) { return (b & 0xF0) == 0x80; }

// Decodes the bytes of one tick in arrival order: appends to textAppend the bytes to add at the
// end of the text area (pieces, and "\r\n" for each LF), and updates state.strip and
// state.leadByte in place.
void DecodeReceived(std::string_view bytes, ReceiveState& state, std::string& textAppend);

// Received text on its way to the text area: decoded, but not shown yet. The text area takes only
// whole characters, so that a first byte and its second, read in different ticks, still make one
// character; and it may refuse an addition (no memory), after which the same text is offered again.

// Whether `pending` ends in the first byte of a character whose second byte has not come.
bool EndsInFirstByte(std::string_view pending);
// What of `pending` survives a Clear: the first byte that waits for its second, so that the
// character arrives whole after the text is gone.
std::string KeptByClear(std::string_view pending);

// Hands the whole characters at the front of `pending` to `show` and removes them once `show` has
// returned. When `show` throws, `pending` stays as it was. False when there was no whole character.
bool ShowWholeCharacters(std::string& pending, const std::function<void(std::string_view)>& show);

}  // namespace core
