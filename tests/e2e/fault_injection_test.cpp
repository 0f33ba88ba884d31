// The real program under floods on its serial line, driven from this separate process: random
// bytes and long streams of Shift_JIS text at the highest rate the line takes. COM ports 9 and 10.
// Larger counts with VARNEDO_LONG=1 (see docs/reliability.md).
#include <gtest/gtest.h>

#include "support/fault_helpers.h"
#include "support/linux_command.h"
#include "support/program_driver.h"
#include "support/run_length.h"
#include "support/virtual_port.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

using e2e::AnswerMilliseconds;
using e2e::AnswerProbe;
using e2e::ConnectTo;
using e2e::FirstDifference;
using e2e::Now;
using e2e::ProgramFolder;
using e2e::RunningProgram;
using e2e::SecondsSince;
using e2e::WaitUntil;
using testsupport::Scaled;
using testsupport::VirtualPort;

namespace {

constexpr UINT kSaveCommand = 0x0103;                       // File > Save to file
constexpr const char* kClear = "\x83\x4E\x83\x8A\x83\x41";  // クリア

// Plays the device from a thread of its own: sends `bytes` in pieces as fast as the line takes them.
// Should the program stop reading, unplugging the port ends a write that waits for it.
class Device {
public:
    Device(VirtualPort& port, std::string bytes)
        : port_(port), bytes_(std::move(bytes)), thread_([this, &port] {
              constexpr std::size_t kPiece = 16384;
              for (std::size_t at = 0; at < bytes_.size(); at += kPiece) {
                  if (!port.Send(std::string_view(bytes_).substr(at, kPiece))) {
                      failed_ = true;
                      break;
                  }
                  sent_ = std::min(bytes_.size(), at + kPiece);
              }
              done_ = true;
          }) {}
    ~Device() {
        if (!done_) testsupport::RunPortScript("stop " + std::to_string(port_.Number()));
        thread_.join();
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    bool Done() const { return done_; }
    bool Failed() const { return failed_; }
    std::size_t Sent() const { return sent_; }

private:
    VirtualPort& port_;
    std::string bytes_;
    std::atomic<std::size_t> sent_{0};
    std::atomic<bool> done_{false};
    std::atomic<bool> failed_{false};
    std::thread thread_;
};

// Plays `bytes` as the device while probing the window, until all are sent, the program has gone,
// stopped answering, or takes them in slower than 1 kB/s; true when all were sent. An answer that
// takes a second or more is printed with the number of bytes sent by then.
bool SendWhileProbing(const RunningProgram& program, VirtualPort& port, std::string bytes, AnswerProbe& answers) {
    constexpr int kUnansweredForAHang = 3;  // each after 5 s without an answer
    const ULONGLONG deadline = GetTickCount64() + 60'000 + bytes.size();
    Device device(port, std::move(bytes));
    while (!device.Done() && program.Running() && answers.Unanswered() < kUnansweredForAHang &&
           GetTickCount64() < deadline) {
        const int unansweredBefore = answers.Unanswered();
        const double worstBefore = answers.WorstMs();
        answers.Probe(program.MainWindow());
        if (answers.Unanswered() > unansweredBefore || (answers.WorstMs() > worstBefore && answers.WorstMs() >= 1000))
            std::printf("slow answer (%s) after %zu bytes\n",
                        answers.Unanswered() > unansweredBefore ? "none in 5 s" : "1 s or more", device.Sent());
        Sleep(10);
    }
    if (!device.Done()) std::printf("stopped after %zu bytes\n", device.Sent());
    return device.Done() && !device.Failed();
}

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Every two-byte character of code page 932 that converts to one character and back to itself.
std::vector<std::string> TwoByteCharacters() {
    std::vector<std::string> characters;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[2] = {};
            if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) != 1) continue;
            char back[4] = {};
            if (WideCharToMultiByte(932, 0, wide, 1, back, sizeof back, nullptr, nullptr) != 2) continue;
            if (back[0] == pair[0] && back[1] == pair[1]) characters.emplace_back(pair, 2);
        }
    }
    return characters;
}

// Random Shift_JIS text of about `count` bytes: two-byte characters, ASCII, half-width katakana,
// and LF line ends.
std::string RandomShiftJisText(std::size_t count, unsigned seed) {
    static const std::vector<std::string> twoByte = TwoByteCharacters();
    std::mt19937 random(seed);
    std::string text;
    std::size_t lineLeft = random() % 120;
    while (text.size() < count) {
        if (lineLeft-- == 0) {
            text += '\n';
            lineLeft = random() % 120;
            continue;
        }
        switch (random() % 4) {
        case 0: text += static_cast<char>(0x20 + random() % 0x5F); break;  // ASCII
        case 1: text += static_cast<char>(0xA1 + random() % 0x3F); break;  // half-width katakana
        default: text += twoByte[random() % twoByte.size()]; break;
        }
    }
    return text + '\n';
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Waits until the program has taken everything in and shows `marker` as its last line.
bool ShowsLast(const RunningProgram& program, const std::string& marker, int timeoutMs) {
    return WaitUntil(
        [&] {
            const std::string text = program.MemoText();
            return text.size() >= marker.size() &&
                   text.compare(text.size() - marker.size(), marker.size(), marker) == 0;
        },
        timeoutMs, 100);
}

}  // namespace

// How soon the window must answer while a device floods the line: nearly always between two ticks
// (on an idle machine 95 in 100 answers come within about 100 ms), and never so late that a user
// would take it for a hang; with room for a machine that other builds keep busy.
constexpr double kUsualAnswerMs = 250;
constexpr double kLatestAnswerMs = 1000;

// A flood of random bytes, every value among them, at the highest rate the line takes: the window
// answers at every moment, and afterwards it shows what comes next and clears as usual.
TEST(RealProgramFaults, RandomByteFloodKeepsTheWindowAnswering) {
    const std::size_t total = Scaled<std::size_t>(10'000'000, 50'000'000);
    ProgramFolder folder("flood");
    RunningProgram program(folder);
    VirtualPort port(9);
    ASSERT_TRUE(ConnectTo(program, 9));

    AnswerProbe answers;
    const LARGE_INTEGER start = Now();
    ASSERT_TRUE(SendWhileProbing(program, port, RandomBytes(total, 20240601), answers))
        << (program.Running() ? "the window stopped answering" : "the program ended");
    const double seconds = SecondsSince(start);
    // Completes a character that a last random byte may have begun, then ends the line.
    ASSERT_TRUE(port.Send("x\nEND OF FLOOD\n"));
    ASSERT_TRUE(ShowsLast(program, "END OF FLOOD\r\n", 60000));
    const double drainedSeconds = SecondsSince(start);
    const std::size_t shown = program.MemoText().size();

    program.Click(program.ButtonCaptioned(kClear));
    EXPECT_TRUE(WaitUntil([&] { return program.MemoText().empty(); }));
    ASSERT_TRUE(port.Send("after\n"));
    EXPECT_TRUE(WaitUntil([&] { return program.MemoText() == "after\r\n"; })) << program.MemoText();
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(0, answers.Unanswered());
    EXPECT_LT(answers.Percentile95Ms(), kUsualAnswerMs);
    EXPECT_LT(answers.WorstMs(), kLatestAnswerMs);
    std::printf(
        "random flood: %zu bytes written in %.1f s (%.1f kB/s), all taken in after %.1f s; text area %zu bytes; "
        "%d probes: 95%% answered within %.1f ms, worst %.1f ms, %d unanswered\n",
        total, seconds, total / 1024.0 / seconds, drainedSeconds, shown, answers.Probes(), answers.Percentile95Ms(),
        answers.WorstMs(), answers.Unanswered());
}

// A long stream of random Shift_JIS text at the highest rate the line takes arrives byte for byte,
// each LF as CR LF, in the text area and in a transcript saved through the save dialog.
TEST(RealProgramFaults, LongShiftJisStreamArrivesByteExact) {
    const std::size_t total = Scaled<std::size_t>(3'000'000, 30'000'000);
    ProgramFolder folder("sjis-stream");
    RunningProgram program(folder);
    VirtualPort port(10);
    ASSERT_TRUE(ConnectTo(program, 10));

    const std::string text = RandomShiftJisText(total, 7);
    const std::string expected = WithCrLf(text);
    AnswerProbe answers;
    const LARGE_INTEGER start = Now();
    ASSERT_TRUE(SendWhileProbing(program, port, text, answers))
        << (program.Running() ? "the window stopped answering" : "the program ended");
    const double sentSeconds = SecondsSince(start);
    ASSERT_TRUE(WaitUntil([&] { return program.MemoText().size() >= expected.size(); }, 120000, 100));
    const double shownSeconds = SecondsSince(start);
    const std::string shown = program.MemoText();
    EXPECT_TRUE(shown == expected) << FirstDifference(expected, shown);

    program.PostCommand(kSaveCommand);
    ASSERT_TRUE(e2e::ChooseFileInDialog(program, folder.FilePath("stream.txt")));
    // The file is written beside and takes its name once it is complete.
    ASSERT_TRUE(WaitUntil([&] { return folder.ReadFile("stream.txt").has_value(); }, 60000, 50));
    const std::optional<std::string> saved = folder.ReadFile("stream.txt");
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(*saved == expected) << FirstDifference(expected, *saved);
    EXPECT_EQ(0, answers.Unanswered());
    EXPECT_LT(answers.Percentile95Ms(), kUsualAnswerMs);
    EXPECT_LT(answers.WorstMs(), kLatestAnswerMs);
    std::printf(
        "Shift_JIS stream: %zu bytes written in %.1f s (%.1f kB/s), shown after %.1f s; %zu bytes compared in "
        "the text area and in the saved file; %d probes: 95%% answered within %.1f ms, worst %.1f ms\n",
        text.size(), sentSeconds, text.size() / 1024.0 / sentSeconds, shownSeconds, expected.size(), answers.Probes(),
        answers.Percentile95Ms(), answers.WorstMs());
}
