#include "core/receive_decoder.h"

#include <gtest/gtest.h>

#include <new>
#include <random>
#include <string>
#include <vector>

#include "literal_receive_model.h"

namespace {

using core::DecodeReceived;
using core::ReceiveState;

struct Result {
    std::string text;
    std::string strip;
    unsigned char leadByte;
};

// Runs ticks one after another from the given strip and waiting byte on an empty text area.
Result RunTicks(std::vector<std::string> ticks, std::string strip = "", unsigned char leadByte = 0) {
    ReceiveState state{std::move(strip), leadByte};
    std::string text;
    for (const std::string& tick : ticks) {
        DecodeReceived(tick, state, text);
    }
    return {text, state.strip, state.leadByte};
}

struct DecodeCase {
    const char* behaviour;
    std::vector<std::string> ticks;
    std::string startStrip;
    unsigned char startLead;
    std::string text;
    std::string strip;
    unsigned char leadByte;
};

const std::string k29(29, 'a');
const std::string k30(30, 'b');

// Received bytes become text and strip the way a Shift_JIS device's text is meant to read.
const DecodeCase kDecodeCases[] = {
    {"CR is dropped and LF becomes CR LF; the strip takes no line break", {"AB\r\nC"}, "", 0, "AB\r\nC", "ABC", 0},
    {"LF on an empty text area gives one CR LF", {"\n"}, "", 0, "\r\n", "", 0},
    {"two LFs leave an empty line", {"\n\n"}, "", 0, "\r\n\r\n", "", 0},
    {"a pair split across ticks is one piece", {"\x82", "\xA0"}, "", 0, "\x82\xA0", "\x82\xA0", 0},
    {"LF between the bytes of a pair ends the line first", {"\x81\n\x82"}, "", 0, "\r\n\x81\x82", "\x81\x82", 0},
    {"CR between the bytes of a pair is ignored", {"\x81\r\x82"}, "", 0, "\x81\x82", "\x81\x82", 0},
    {"88 88 88 is a pair and a held first byte", {"\x88\x88\x88"}, "", 0, "\x88\x88", "\x88\x88", 0x88},
    {"a first byte above 0x8F is a piece of its own", {"\x93\xFA"}, "", 0, "\x93\xFA", "\x93\xFA", 0},
    {"a held first byte shows nothing and leaves the strip", {"\x85"}, "xy", 0, "", "xy", 0x85},
    {"LF and CR leave a held first byte waiting", {"\n\r"}, "xy", 0x85, "\r\n", "xy", 0x85},
    {"a byte held from an earlier tick pairs with the next",
     {"A"},
     "",
     0x8E,
     "\x8E"
     "A",
     "\x8E"
     "A",
     0},
    {"the second byte of a character begun above 0x8F is never held, so a LF stays after it",
     {"\xE1\x83\n\x93", "\x8A\n"},
     "",
     0,
     "\xE1\x83\r\n\x93\x8A\r\n",
     "\xE1\x83\x93\x8A",
     0},
};

// The strip restarts once it holds 30 bytes or more; a NUL byte shows as nothing.
const DecodeCase kStripCases[] = {
    {"29 bytes and a pair grow to 31", {"\x82\xA0"}, k29, 0, "\x82\xA0", k29 + "\x82\xA0", 0},
    {"after 31 bytes the next piece starts the strip again", {"\x82\xA0z"}, k29, 0, "\x82\xA0z", "z", 0},
    {"exactly 30 bytes: the next piece starts it again", {"x"}, k30, 0, "x", "x", 0},
    {"a NUL byte adds nothing to a short strip or the text", {std::string(1, '\0')}, "abc", 0, "", "abc", 0},
    {"a NUL byte empties a strip of 30 bytes", {std::string(1, '\0')}, k30, 0, "", "", 0},
    {"a pair with a NUL second byte shows its first byte", {std::string("\x81\0", 2)}, "", 0, "\x81", "\x81", 0},
    {"a NUL second byte still completes the pair",
     {std::string("\x81\0A", 3)},
     "",
     0,
     "\x81"
     "A",
     "\x81"
     "A",
     0},
};

void ExpectCase(const DecodeCase& c) {
    SCOPED_TRACE(c.behaviour);
    const Result r = RunTicks(c.ticks, c.startStrip, c.startLead);
    EXPECT_EQ(r.text, c.text);
    EXPECT_EQ(r.strip, c.strip);
    EXPECT_EQ(r.leadByte, c.leadByte);
}

TEST(DecodeReceived, TurnsBytesIntoText) {
    for (const DecodeCase& c : kDecodeCases) {
        ExpectCase(c);
    }
}

TEST(DecodeReceived, RestartsAndCutsTheStrip) {
    for (const DecodeCase& c : kStripCases) {
        ExpectCase(c);
    }
}

TEST(DecodeReceived, AppendsToWhatTheCallerAlreadyHolds) {
    ReceiveState state;
    std::string text = "old";
    DecodeReceived("A", state, text);
    EXPECT_EQ(text, "oldA");
}

// Any byte stream, cut into ticks anywhere, reads exactly as handling it byte by byte does.
TEST(DecodeReceived, MatchesByteByByteHandlingOnRandomStreams) {
    std::mt19937 random(20261207);
    const std::vector<unsigned char> awkward = {0x0A, 0x0D, 0x00, 0x80, 0x81, 0x82, 0x88, 0x8F};
    for (int stream = 0; stream < 400; ++stream) {
        const int awkwardPercent = static_cast<int>(random() % 101);
        const std::size_t length = random() % 3000;
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) {
            if (static_cast<int>(random() % 100) < awkwardPercent) {
                const bool anyLead = random() % 2 == 0;
                bytes += static_cast<char>(anyLead ? 0x80 + random() % 16 : awkward[random() % awkward.size()]);
            } else {
                bytes += static_cast<char>(random() % 256);
            }
        }

        core_test::LiteralReceiveModel model;
        model.strip = std::string(random() % 36, 's');
        model.leadByte = random() % 3 == 0 ? static_cast<unsigned char>(0x80 + random() % 16) : 0;
        ReceiveState state{model.strip, model.leadByte};
        std::string text;

        std::size_t at = 0;
        while (at < bytes.size()) {
            const std::size_t tick = std::min<std::size_t>(random() % 41, bytes.size() - at);
            DecodeReceived(std::string_view(bytes).substr(at, tick), state, text);
            for (std::size_t i = at; i < at + tick; ++i) {
                model.HandleByte(static_cast<unsigned char>(bytes[i]));
            }
            at += tick;
            ASSERT_EQ(text, model.text) << "stream " << stream << " after byte " << at;
            ASSERT_EQ(state.strip, model.strip) << "stream " << stream << " after byte " << at;
            ASSERT_EQ(state.leadByte, model.leadByte) << "stream " << stream << " after byte " << at;
        }
        EXPECT_EQ(text.find('\0'), std::string::npos);
    }
}

}  // namespace

TEST(ReceivedText, AnAdditionTheTextAreaRefusesIsOfferedAgainWhole) {
    // A tick decodes "AB" and the first byte of a character; the text area refuses the addition.
    core::ReceiveState state;
    std::string pending;
    core::DecodeReceived("AB\x93", state, pending);
    const auto refuse = [](std::string_view) { throw std::bad_alloc(); };
    EXPECT_THROW(core::ShowWholeCharacters(pending, refuse), std::bad_alloc);
    EXPECT_EQ(pending, "AB\x93");
    // The next tick brings the second byte and a line: everything shows once, in order.
    state.secondByteDue = core::EndsInFirstByte(pending);
    core::DecodeReceived("\xFA\n\x82", state, pending);
    std::string shown;
    EXPECT_TRUE(core::ShowWholeCharacters(pending, [&](std::string_view text) { shown += text; }));
    EXPECT_EQ(shown, "AB\x93\xFA\r\n");
    EXPECT_EQ(pending, "");
    EXPECT_EQ(state.leadByte, 0x82);  // the new first byte waits in the decoder, not in the text
}

// A Clear while the first byte of 電 (93 64) waits keeps that byte: the second byte that comes
// next completes the character instead of standing alone as "d".
TEST(ReceivedText, AClearKeepsAWaitingFirstByteForItsSecond) {
    for (const char* first : {"\x93", "\x81", "\xE0", "\xFC"}) {
        core::ReceiveState state;
        std::string pending;
        core::DecodeReceived(std::string("line\r\n") + first, state, pending);
        core::ShowWholeCharacters(pending, [](std::string_view) {});
        pending = core::KeptByClear(pending);
        state.secondByteDue = core::EndsInFirstByte(pending);
        core::DecodeReceived("\x64\x8C\xB9", state, pending);
        std::string shown;
        core::ShowWholeCharacters(pending, [&](std::string_view text) { shown += text; });
        EXPECT_EQ(std::string(first) + "\x64\x8C\xB9", shown) << "after " << static_cast<int>(first[0] & 0xFF);
    }
    EXPECT_EQ("", core::KeptByClear("AB\x82\xA0"));
}
