// A transcript saved from the text area and loaded back into an empty one gives the same text,
// and saving that again gives the same file: the text-mode writer, the line reader and the rule
// for adding lines together.
#include "core/text_mode.h"
#include "text_for_added_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Loads a file into an empty text area the way the Load command does: in chunks, then every line
// added at once.
std::string LoadIntoEmptyTextArea(const std::string& file, std::size_t chunkSize) {
    core::LineReader reader;
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < file.size(); at += chunkSize) {
        reader.Feed(std::string_view(file).substr(at, chunkSize));
        for (std::string& line : reader.TakeLines()) {
            lines.push_back(std::move(line));
        }
    }
    reader.Finish();
    for (std::string& line : reader.TakeLines()) {
        lines.push_back(std::move(line));
    }
    return testing_support::TextForAddedLines("", lines);
}

// One valid Shift_JIS character: ASCII, half-width katakana or a two-byte character whose second
// byte may be 5C ("\") or any other allowed value.
std::string RandomCharacter(std::mt19937& random) {
    switch (random() % 3) {
    case 0: return std::string(1, static_cast<char>(0x20 + random() % (0x7F - 0x20)));
    case 1: return std::string(1, static_cast<char>(0xA1 + random() % (0xE0 - 0xA1)));
    default: {
        static const unsigned char kLeads[] = {0x81, 0x82, 0x83, 0x88, 0x8A, 0x95, 0x9F, 0xE0, 0xEA, 0xFC};
        const unsigned char lead = kLeads[random() % std::size(kLeads)];
        unsigned char trail = static_cast<unsigned char>(0x40 + random() % (0xFD - 0x40));
        if (trail == 0x7F) trail = 0x5C;  // 7F is never a second byte
        return {static_cast<char>(lead), static_cast<char>(trail)};
    }
    }
}

// The text area of a session: lines of random length (some empty, some long) each ending in the
// text area's CR LF line break.
std::string RandomTextArea(std::mt19937& random) {
    std::string text;
    const std::size_t lineCount = random() % 60;
    for (std::size_t line = 0; line < lineCount; ++line) {
        const std::size_t characters = random() % 10 == 0 ? 1500 + random() % 1500 : random() % 40;
        for (std::size_t i = 0; i < characters; ++i) {
            text += RandomCharacter(random);
        }
        text += "\r\n";
    }
    return text;
}

// Save, load into an empty text area, save again: the text and the file come back byte for byte.
TEST(TranscriptRoundTrip, RandomShiftJisTextComesBackByteExact) {
    std::mt19937 random(4242);
    for (int round = 0; round < 60; ++round) {
        const std::string text = RandomTextArea(random);
        const std::string saved = core::EncodeForSave(text);
        ASSERT_EQ(saved.find("\r\r"), std::string::npos) << "round " << round;

        const std::size_t chunkSize = 1 + random() % 5000;
        const std::string loaded = LoadIntoEmptyTextArea(saved, chunkSize);
        ASSERT_EQ(loaded, text) << "round " << round << ", chunk size " << chunkSize;
        ASSERT_EQ(core::EncodeForSave(loaded), saved) << "round " << round;
    }
}

// The three-line example with its saved bytes written out.
TEST(TranscriptRoundTrip, SavedLinesEndInCrLfOnly) {
    const std::string text = "abc\r\n\x82\xA0\r\n\r\n";  // abc, あ, an empty line
    const std::string saved = core::EncodeForSave(text);
    EXPECT_EQ(saved, "\x61\x62\x63\x0D\x0A\x82\xA0\x0D\x0A\x0D\x0A");
    EXPECT_EQ(LoadIntoEmptyTextArea(saved, 4096), text);
}

}  // namespace
