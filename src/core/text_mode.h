#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A Ctrl-Z byte ends a text-mode file: it and everything after it are ignored.
inline constexpr char kEndOfFileMark = '\x1A';

// A name the program takes as a text file's: it ends in ".txt", in any case of the letters.
bool IsTextFileName(std::wstring_view name);

// The bytes written for the text area's text: its CR LF line breaks stay CR LF, a lone LF
// becomes CR LF too, and every other byte (a lone CR included) is written unchanged.
// `afterCarriageReturn`: the text continues one whose last byte was a CR (a text saved in pieces).
std::string EncodeForSave(std::string_view text, bool afterCarriageReturn = false);
// The same, added to `into`: a save reuses one buffer for every piece.
void EncodeForSave(std::string_view text, bool afterCarriageReturn, std::string& into);

// Splits a text file into lines while it is read in chunks of any size. Every CR byte is
// dropped wherever it stands, a NUL byte is dropped, a Ctrl-Z byte ends the file, and the LF
// that ends a line is not part of it. Lines have no length limit; a non-empty last line without
// LF counts once Finish() is called, an empty file gives no lines and "\n" one empty line.
class LineReader {
public:
    void Feed(std::string_view chunk);
    // End of the file: the last line, if it has no LF, becomes complete. Later input is ignored.
    void Finish();
    // A Ctrl-Z byte was seen: the rest of the input is ignored.
    bool Ended() const { return m_ended; }
    // The lines completed so far, in file order; each is handed out once.
    std::vector<std::string> TakeLines();

private:
    std::vector<std::string> m_lines;
    std::string m_pending;
    bool m_ended = false;
    bool m_finished = false;
};

// Reads a text-mode file the way a fixed-size line buffer does, as the settings file is read:
// CRs dropped, Ctrl-Z ends the file, then pieces that end after a LF (which stays in the piece),
// after bufferSize - 1 bytes, or at the end; each piece is cut at its first NUL byte.
// Stops after maxPieces pieces. A bufferSize below 2 is taken as 2, since a buffer with room
// for no byte would never get past the first one.
std::vector<std::string> ReadPieces(std::string_view fileBytes, std::size_t bufferSize,
                                    std::size_t maxPieces = static_cast<std::size_t>(-1));

}  // namespace core
