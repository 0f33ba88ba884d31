#pragma once

// The receive tick's byte handling done literally, one step at a time: the text area's whole
// text rebuilt for every piece, the strip's caption read, compared and written back, and both
// held as zero-terminated texts. Slow on purpose; the fast decoder is checked against it.

#include <cstring>
#include <string>

namespace core_test {

struct LiteralReceiveModel {
    std::string text;   // the text area's text
    std::string strip;  // the recent-text strip's caption
    unsigned char leadByte = 0;

    void HandleByte(unsigned char b) {
        std::string piece;
        if (b == 0x0A) {
            AddEmptyLine();
            return;
        }
        if (b == 0x0D) {
            return;
        }
        if (leadByte != 0) {
            piece = {static_cast<char>(leadByte), static_cast<char>(b)};
            leadByte = 0;
        } else if (textEndsInFirstByte) {
            // The second byte of a character whose first byte was shown on its own.
            piece = std::string(1, static_cast<char>(b));
        } else if ((b & 0xF0) == 0x80) {
            leadByte = b;
        } else {
            piece = std::string(1, static_cast<char>(b));
        }
        if (!piece.empty()) {
            ShowPiece(piece);
        }
    }

private:
    static std::string AsZeroTerminated(const std::string& s) { return std::string(s.c_str()); }

    // Whether the text ends in the first byte of a Shift_JIS two-byte character, followed byte by
    // byte from its start.
    bool textEndsInFirstByte = false;

    void Appended(const std::string& bytes) {
        for (const char c : bytes) {
            const auto u = static_cast<unsigned char>(c);
            textEndsInFirstByte = !textEndsInFirstByte && ((u >= 0x81 && u <= 0x9F) || (u >= 0xE0 && u <= 0xFC));
        }
    }

    void ShowPiece(const std::string& piece) {
        text = AsZeroTerminated(text) + AsZeroTerminated(piece);
        Appended(AsZeroTerminated(piece));
        const std::string caption = AsZeroTerminated(strip);
        if (std::strlen(caption.c_str()) >= 30) {
            strip = AsZeroTerminated(piece);
        } else {
            strip = AsZeroTerminated(caption + AsZeroTerminated(piece));
        }
    }

    // The text area's add-a-line rule with an empty line.
    void AddEmptyLine() {
        const std::string line;
        const bool endsWithBreak = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
        if (text.empty() || endsWithBreak) {
            text = text + line + "\r\n";
        } else {
            text = text + "\r\n" + line;
        }
        Appended("\r\n");
    }
};

}  // namespace core_test
