#include "core/settings_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

using core::FormatSettings;
using core::ParseLeadingNumber;
using core::ParseSettings;
using core::StoredSettings;
using Value = std::optional<std::int32_t>;

constexpr Value kMissing = std::nullopt;

// The files written after a run with COM3, scheme "2" and one larger step, and after a run
// that chose nothing.
const std::string kChosenFile("\x33\x0D\x0A\x31\x0D\x0A\x31\x34\x0D\x0A\x36\x32\x32\x0D\x0A\x39\x38\x39", 18);
const std::string kUnchosenFile("\x30\x0D\x0A\x2D\x31\x0D\x0A\x31\x32\x0D\x0A\x36\x32\x32\x0D\x0A\x39\x38\x39", 19);

TEST(FormatSettings, WritesFiveLinesJoinedByCrLf) {
    EXPECT_EQ(FormatSettings(3, 1, 14, 622, 989), kChosenFile);
    EXPECT_EQ(FormatSettings(0, -1, 12, 622, 989), kUnchosenFile);
    EXPECT_EQ(FormatSettings(std::numeric_limits<std::int32_t>::min(), 0, 0, 0, 2147483647),
              "-2147483648\r\n0\r\n0\r\n0\r\n2147483647");
}

// The number at the start of a piece, as far as its digits go.
TEST(ParseLeadingNumber, ReadsTheLeadingDecimalNumber) {
    const struct {
        std::string piece;
        Value value;
    } cases[] = {
        {"14 abc", 14},
        {"   7", 7},
        {"\t\n\v\f\r 7", 7},
        {"+5", 5},
        {"-5", -5},
        {"", 0},
        {"\n", 0},
        {"abc", 0},
        {"+", 0},
        {"-", 0},
        {"+-5", 0},
        {"- 5", 0},
        {"12-3", 12},
        {"0000000000000000000042", 42},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseLeadingNumber(c.piece), c.value) << "piece: " << testing::PrintToString(c.piece);
    }
}

// A number outside the 32-bit range gives no value at all rather than a wrapped one.
TEST(ParseLeadingNumber, RejectsNumbersOutsideTheIntRange) {
    EXPECT_EQ(ParseLeadingNumber("2147483648"), kMissing);
    EXPECT_EQ(ParseLeadingNumber("-2147483649"), kMissing);
    EXPECT_EQ(ParseLeadingNumber("4294967297"), kMissing);  // 2^32 + 1 would wrap to 1
    EXPECT_EQ(ParseLeadingNumber(std::string(40, '9')), kMissing);
    EXPECT_EQ(ParseLeadingNumber(std::string(10'000'000, '9')), kMissing);
    EXPECT_EQ(ParseLeadingNumber(std::string(10'000'000, '0') + "7"), 7);
}

void ExpectSettings(const StoredSettings& s, Value port, Value scheme, Value strip, Value height, Value width) {
    EXPECT_EQ(s.port, port);
    EXPECT_EQ(s.scheme, scheme);
    EXPECT_EQ(s.stripPoints, strip);
    EXPECT_EQ(s.windowHeight, height);
    EXPECT_EQ(s.windowWidth, width);
}

TEST(ParseSettings, ReadsTheFilesTheProgramWrites) {
    ExpectSettings(ParseSettings(kChosenFile), 3, 1, 14, 622, 989);
    // Port 0 (none chosen) comes back as COM1; scheme -1 stays "none".
    ExpectSettings(ParseSettings(kUnchosenFile), 1, -1, 12, 622, 989);
}

// Ports outside 1..32 fall to COM1 and schemes above 3 to row 0; the rest stand as stored.
TEST(ParseSettings, CorrectsPortAndScheme) {
    const struct {
        std::string file;
        Value port, scheme;
    } cases[] = {
        {"0\n0", 1, 0}, {"33\n3", 1, 3}, {"-5\n4", 1, 0}, {"32\n-7", 32, -7}, {"1\n2", 1, 2}, {"-1\n2147483647", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file));
        const StoredSettings s = ParseSettings(c.file);
        EXPECT_EQ(s.port, c.port);
        EXPECT_EQ(s.scheme, c.scheme);
    }
}

// Damaged or hand-made files give a value only where the file holds a usable one.
TEST(ParseSettings, LeavesMissingWhatADamagedFileDoesNotGive) {
    SCOPED_TRACE("empty file");
    ExpectSettings(ParseSettings(""), kMissing, kMissing, kMissing, kMissing, kMissing);
    SCOPED_TRACE("LF-only line ends read like CR LF");
    ExpectSettings(ParseSettings("3\n1\n14\n622\n989"), 3, 1, 14, 622, 989);
    SCOPED_TRACE("CR-only line ends run the lines together into one number");
    ExpectSettings(ParseSettings("3\r1\r14"), 1, kMissing, kMissing, kMissing, kMissing);
    SCOPED_TRACE("empty lines read as 0");
    ExpectSettings(ParseSettings("\n\n\n\n\n"), 1, 0, 0, kMissing, kMissing);
    SCOPED_TRACE("15 spaces and 3 give two values and push the rest down a line");
    ExpectSettings(ParseSettings("               3\n1\n14\n622\n989"), 1, 3, 1, 14, 622);
    SCOPED_TRACE("a sixth line is ignored");
    ExpectSettings(ParseSettings("2\n1\n16\n700\n900\n5\n"), 2, 1, 16, 700, 900);
    SCOPED_TRACE("a window size of 0 or less is missing");
    ExpectSettings(ParseSettings("2\n1\n16\n0\n-900"), 2, 1, 16, kMissing, kMissing);
    SCOPED_TRACE("Ctrl-Z ends the file");
    ExpectSettings(ParseSettings("2\n1\x1A\n16\n700\n900"), 2, 1, kMissing, kMissing, kMissing);
    SCOPED_TRACE("binary bytes read as 0 and a NUL cuts its line");
    ExpectSettings(ParseSettings(std::string("\x01\xFF\n2\0"
                                             "5\n\x82\xA0\n700\n900",
                                             17)),
                   1, 2, 0, 700, 900);
    SCOPED_TRACE("a 40-digit number fills three pieces, none of them in range");
    ExpectSettings(ParseSettings(std::string(40, '9') + "\n5\n700\n"), kMissing, kMissing, kMissing, 5, 700);
    SCOPED_TRACE("10 MB of digits gives no value");
    ExpectSettings(ParseSettings(std::string(10'000'000, '7')), kMissing, kMissing, kMissing, kMissing, kMissing);
}

}  // namespace
