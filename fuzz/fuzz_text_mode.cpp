// Text-mode files and the text area: the line reader fed in chunks of any size against a plain
// reading of the whole file; lines added to the text area at once against the rule applied one
// line at a time; lines added to an empty text area, saved and read again come back unchanged;
// the fixed-buffer piece reader against a reading that cuts the stream first and the pieces after.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_area.h"
#include "core/text_mode.h"
#include "fuzz_check.h"
#include "text_for_added_lines.h"

namespace {

using Lines = std::vector<std::string>;
using fuzz::Check;

constexpr char kCtrlZ = '\x1A';

// The file's bytes as reading sees them: everything before the first Ctrl-Z, CRs dropped.
std::string TextModeStream(std::string_view file) {
    std::string stream;
    for (const char byte : file.substr(0, file.find(kCtrlZ))) {
        if (byte != '\r') {
            stream += byte;
        }
    }
    return stream;
}

Lines LinesOf(std::string_view file) {
    Lines lines;
    std::string line;
    for (const char byte : TextModeStream(file)) {
        if (byte == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (byte != '\0') {
            line += byte;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

Lines PiecesOf(std::string_view file, std::size_t bufferSize) {
    const std::size_t longest = std::max<std::size_t>(bufferSize, 2) - 1;
    const std::string stream = TextModeStream(file);
    Lines pieces;
    for (std::size_t start = 0; start < stream.size();) {
        const std::size_t lineFeed = stream.find('\n', start);
        const std::size_t lineEnd = lineFeed == std::string::npos ? stream.size() : lineFeed + 1;
        const std::size_t end = std::min(lineEnd, start + longest);
        const std::string raw = stream.substr(start, end - start);
        pieces.push_back(raw.substr(0, raw.find('\0')));
        start = end;
    }
    return pieces;
}

Lines ReadInOne(std::string_view file) {
    core::LineReader reader;
    reader.Feed(file);
    reader.Finish();
    return reader.TakeLines();
}

void CheckLineReader(const std::vector<std::string>& chunks, const std::string& file) {
    core::LineReader reader;
    Lines lines;
    for (const std::string& chunk : chunks) {
        reader.Feed(chunk);
        // Taking the lines now and then must neither lose nor repeat one.
        if (chunk.size() % 2 == 1) {
            for (std::string& line : reader.TakeLines()) {
                lines.push_back(std::move(line));
            }
        }
    }
    Check(reader.Ended() == (file.find(kCtrlZ) != std::string::npos), "Ended() does not match the Ctrl-Z");
    reader.Finish();
    for (std::string& line : reader.TakeLines()) {
        lines.push_back(std::move(line));
    }
    Check(lines == LinesOf(file), "the line reader differs from reading the whole file");
    reader.Feed("late\n");
    reader.Finish();
    Check(reader.TakeLines().empty(), "input after the end gave lines");
}

// The text area's rule applied to its whole text, one line at a time.
std::string AddLinesOneByOne(std::string text, const Lines& lines) {
    for (const std::string& line : lines) {
        if (text.empty() || text.ends_with("\r\n")) {
            text += line + "\r\n";
        } else {
            text += "\r\n" + line;
        }
    }
    // Lines added after a text that ended mid-line end with a line break as well.
    if (!lines.empty() && !text.empty() && !text.ends_with("\r\n")) text += "\r\n";
    return text;
}

// Any lines, CR LF inside them included, added after any text: only the text's last two bytes
// are handed over, and what is appended must be what the rule gives line by line.
void CheckAddedLines(const std::string& text, const Lines& lines) {
    const std::string tail = text.substr(text.size() - std::min<std::size_t>(text.size(), 2));
    Check(text + testing_support::TextForAddedLines(tail, lines) == AddLinesOneByOne(text, lines),
          "adding lines at once differs from adding them one by one");
}

void CheckSaveAndReadAgain(const Lines& lines) {
    const std::string text = testing_support::TextForAddedLines("", lines);
    const std::string file = core::EncodeForSave(text);
    Check(ReadInOne(file) == lines, "lines added, saved and read again changed");
}

void CheckEncodeForSave(const std::string& text) {
    const std::string encoded = core::EncodeForSave(text);
    std::string withoutCr = encoded;
    std::erase(withoutCr, '\r');
    std::string textWithoutCr = text;
    std::erase(textWithoutCr, '\r');
    Check(withoutCr == textWithoutCr, "saving changed a byte other than CR");
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        Check(encoded[i] != '\n' || (i > 0 && encoded[i - 1] == '\r'), "a saved LF without CR before it");
    }
    // A CR is added only where the text has none before its LF: a line break of the text area
    // is written as the CR LF it already is.
    std::size_t loneLineFeeds = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        loneLineFeeds += text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
    }
    Check(encoded.size() == text.size() + loneLineFeeds, "saving added a CR other than one before each lone LF");
}

void CheckPieces(const std::string& file, std::size_t bufferSize, std::size_t maxPieces) {
    const Lines pieces = core::ReadPieces(file, bufferSize);
    Check(pieces == PiecesOf(file, bufferSize), "the pieces differ from cutting the stream");
    for (const std::string& piece : pieces) {
        Check(piece.size() < std::max<std::size_t>(bufferSize, 2), "a piece longer than the buffer allows");
    }
    const std::string stream = TextModeStream(file);
    if (stream.find('\0') == std::string::npos) {
        std::string joined;
        for (const std::string& piece : pieces) {
            joined += piece;
        }
        Check(joined == stream, "the pieces do not join to the file's text");
    }
    const Lines first = core::ReadPieces(file, bufferSize, maxPieces);
    const std::size_t expectedCount = std::min(maxPieces, pieces.size());
    Check(first == Lines(pieces.begin(), pieces.begin() + static_cast<std::ptrdiff_t>(expectedCount)),
          "a limit on the pieces does not give the first ones");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The file's bytes come from the front of the input, each chunk's length from its back.
    FuzzedDataProvider input(data, size);
    std::vector<std::string> chunks;
    std::string file;
    while (input.remaining_bytes() > 0) {
        const std::size_t chunkLength = input.ConsumeIntegral<std::uint8_t>();
        chunks.push_back(input.ConsumeBytesAsString(chunkLength));
        file += chunks.back();
    }

    CheckLineReader(chunks, file);
    CheckSaveAndReadAgain(ReadInOne(file));
    CheckEncodeForSave(file);
    if (!chunks.empty()) {
        CheckAddedLines(chunks.front(), Lines(chunks.begin() + 1, chunks.end()));
    }
    // The settings file's buffer, and one more size taken from the first chunk's length.
    CheckPieces(file, 16, 5);
    const std::size_t otherBuffer = chunks.empty() ? 0 : chunks.front().size() % 40;
    CheckPieces(file, otherBuffer, chunks.size());
    return 0;
}
