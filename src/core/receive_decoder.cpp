#include "core/receive_decoder.h"

#include "core/sjis_boundary.h"

namespace core {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// The text area and the strip hold zero-terminated texts: whatever follows a NUL byte in a
// piece never shows, and a piece of a lone NUL byte shows as nothing.
std::string_view VisiblePart(std::string_view piece) { return piece.substr(0, piece.find('\0')); }

// Follows the character boundaries of what is added to the text: a byte that completes a
// character, or one that cannot begin one, leaves none open.
void TrackSecondByte(std::string_view added, ReceiveState& state) {
    for (const char byte : added) {
        state.secondByteDue = !state.secondByteDue && IsSjisLeadByte(static_cast<unsigned char>(byte));
    }
}

void ShowPiece(std::string_view piece, ReceiveState& state, std::string& textAppend) {
    const std::string_view visible = VisiblePart(piece);
    textAppend += visible;
    TrackSecondByte(visible, state);
    if (state.strip.size() >= kStripRestartBytes) {
        state.strip.assign(visible);
    } else {
        state.strip += visible;
    }
}

}  // namespace

void DecodeReceived(std::string_view bytes, ReceiveState& state, std::string& textAppend) {
    for (const char byte : bytes) {
        if (byte == kLineFeed) {
            // An empty line added to the text area always lands as a bare line break, whatever
            // the text ends with; the strip and a waiting first byte stay as they are.
            textAppend += "\r\n";
            TrackSecondByte("\r\n", state);
            continue;
        }
        if (byte == kCarriageReturn) {
            continue;
        }
        if (state.leadByte != 0) {
            const char pair[2] = {static_cast<char>(state.leadByte), byte};
            state.leadByte = 0;
            ShowPiece(std::string_view(pair, 2), state, textAppend);
        } else if (state.secondByteDue) {
            ShowPiece(std::string_view(&byte, 1), state, textAppend);
        } else if (OpensTwoByteCharacter(static_cast<unsigned char>(byte))) {
            state.leadByte = static_cast<unsigned char>(byte);
        } else {
            ShowPiece(std::string_view(&byte, 1), state, textAppend);
        }
    }
}

bool EndsInFirstByte(std::string_view pending) { return CompleteCharactersLength(pending) < pending.size(); }

std::string KeptByClear(std::string_view pending) {
    return std::string(pending.substr(CompleteCharactersLength(pending)));
}

bool ShowWholeCharacters(std::string& pending, const std::function<void(std::string_view)>& show) {
    const std::size_t whole = CompleteCharactersLength(pending);
    if (whole == 0) return false;
    show(std::string_view(pending).substr(0, whole));
    pending.erase(0, whole);
    return true;
}

}  // namespace core
