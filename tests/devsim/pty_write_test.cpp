#include "monotonic_clock.h"
#include "output_port.h"
#include "paced_writer.h"
#include "pacer.h"
#include "raw_byte_source.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>
#include <thread>

namespace devsim {
namespace {

using namespace std::chrono_literals;
using test::PtyPair;
using test::ReadFromSource;
using test::ReadUpTo;
using Bytes = std::vector<std::uint8_t>;

const std::atomic<bool> kNeverStop{false};

// Random bytes include LF, CR and every control byte: a cooked terminal
// would turn LF into CR LF, so this passes only if the slave was made raw.
// The transfer also keeps to the rate: 30000 bytes at 300000 bytes/s
// cannot finish before 0.1 s.
TEST(PtyWrite, DeliversEveryByteUnchangedAndNoFasterThanTheRate) {
    PtyPair pty;
    ASSERT_TRUE(pty.master.IsOpen());
    OpenedOutput output = OpenOutput(pty.slaveName, 0.0, kNeverStop);
    ASSERT_TRUE(output.fd.IsOpen()) << output.error;

    termios settings{};
    ASSERT_EQ(tcgetattr(output.fd.Get(), &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), speed_t{B9600});

    constexpr std::size_t kByteCount = 30'000;
    constexpr std::uint64_t kRate = 300'000;
    Bytes received;
    std::thread reader([&] { received = ReadUpTo(pty.master.Get(), kByteCount, 2000ms); });

    RawByteSource source(9);
    const Nanoseconds started = MonotonicNow();
    const RunResult result = RunPacedWriter(
        source, output.fd.Get(), {.bytesPerSecond = kRate, .chunkBytes = 97, .byteLimit = kByteCount}, kNeverStop);
    const Nanoseconds elapsed = MonotonicNow() - started;
    reader.join();

    EXPECT_EQ(result.outcome, RunOutcome::Finished);
    EXPECT_EQ(result.bytesWritten, kByteCount);
    RawByteSource expectedSource(9);
    EXPECT_EQ(received, ReadFromSource(expectedSource, kByteCount, kByteCount));
    EXPECT_GE(elapsed, LineTime(kByteCount, kRate));
    EXPECT_LT(elapsed, 2s);
}

// --wait-for-out covers socat still starting: the path may appear late. Without
// a wait, or once the wait is used up, a missing path fails with its name.
TEST(PtyWrite, WaitsForTheOutputToAppearOnlyAsLongAsAllowed) {
    PtyPair pty;
    const std::filesystem::path link =
        std::filesystem::temp_directory_path() / ("devsim-late-" + std::to_string(getpid()));
    std::filesystem::remove(link);

    const Nanoseconds started = MonotonicNow();
    OpenedOutput missing = OpenOutput(link.string(), 0.0, kNeverStop);
    EXPECT_FALSE(missing.fd.IsOpen());
    EXPECT_NE(missing.error.find(link.string()), std::string::npos) << missing.error;

    OpenedOutput timedOut = OpenOutput(link.string(), 0.2, kNeverStop);
    EXPECT_FALSE(timedOut.fd.IsOpen());
    EXPECT_FALSE(timedOut.error.empty());
    EXPECT_GE(MonotonicNow() - started, 200ms);

    std::thread socatStarting([&] {
        std::this_thread::sleep_for(300ms);
        std::filesystem::create_symlink(pty.slaveName, link);
    });
    OpenedOutput late = OpenOutput(link.string(), 5.0, kNeverStop);
    socatStarting.join();
    std::filesystem::remove(link);
    EXPECT_TRUE(late.fd.IsOpen()) << late.error;
}

}  // namespace
}  // namespace devsim
