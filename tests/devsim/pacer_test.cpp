#include "pacer.h"

#include <gtest/gtest.h>

namespace devsim {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

struct LineTimeCase {
    std::uint64_t bytes;
    std::uint64_t bytesPerSecond;
    long long expectedNanoseconds;
};

// The time a byte count spends on the line, rounded up so a schedule is
// never early, and exact even where bytes * 10^9 would overflow 64 bits.
TEST(Pacing, LineTimeIsBytesOverRateRoundedUpToTheNanosecond) {
    const LineTimeCase cases[] = {
        {0, 960, 0},
        {960, 960, 1'000'000'000},
        {1, 960, 1'041'667},    // 1/960 s = 1041666.67 ns
        {19, 960, 19'791'667},  // one default chunk at 9600 baud
        {1, 3, 333'333'334},
        {3, 3, 1'000'000'000},
        {96'000, 960, 100'000'000'000},                       // 100 s
        {1'000'000'000'000, 960, 1'041'666'666'666'666'667},  // 10^21 / 960, ~33 years
        {1'099'511'627'776, 1'000'000'000, 1'099'511'627'776},
    };
    for (const LineTimeCase& testCase : cases) {
        EXPECT_EQ(LineTime(testCase.bytes, testCase.bytesPerSecond).count(), testCase.expectedNanoseconds)
            << testCase.bytes << " bytes at " << testCase.bytesPerSecond;
    }
}

struct ChunkCase {
    std::optional<std::uint64_t> bytesPerSecond;
    std::size_t expected;
};

// A write carries about 1/50 s of the line and never less than one byte.
TEST(Pacing, DefaultChunkIsAFiftiethOfASecondAndAtLeastOneByte) {
    const ChunkCase cases[] = {
        {960, 19}, {1, 1}, {49, 1}, {50, 1}, {100, 2}, {100'000, 2'000}, {std::nullopt, 4096},
    };
    for (const ChunkCase& testCase : cases) {
        EXPECT_EQ(DefaultChunkBytes(testCase.bytesPerSecond), testCase.expected);
    }
}

// Due times are counted from the start, so a late wake-up delays one write
// but not the ones after it: 100 chunks of 19 bytes at 960 bytes/s end at
// 1900/960 s however late each wake-up was within the allowed lag.
TEST(Pacing, LateWakeUpsDoNotAddUpToDrift) {
    const Nanoseconds start = seconds(1000);
    Pacer pacer(960, start);
    Nanoseconds due{};
    for (std::uint64_t total = 19; total <= 1900; total += 19) {
        due = pacer.DueTime(total, due + milliseconds(30));
    }
    EXPECT_EQ(due - start, Nanoseconds(1'979'166'667));
}

// After a stall longer than the allowed lag the line restarts: the late write
// goes now and the next one a chunk's time later, not in a catch-up burst.
TEST(Pacing, AStallRestartsTheScheduleInsteadOfBursting) {
    const Nanoseconds start = seconds(1000);
    Pacer pacer(1000, start);
    EXPECT_EQ(pacer.DueTime(20, start), start + milliseconds(20));

    const Nanoseconds withinLag = start + milliseconds(40) + kMaxPacingLag;
    EXPECT_EQ(pacer.DueTime(40, withinLag), start + milliseconds(40));

    const Nanoseconds afterStall = start + seconds(5);
    EXPECT_EQ(pacer.DueTime(60, afterStall), afterStall);
    EXPECT_EQ(pacer.DueTime(80, afterStall), afterStall + milliseconds(20));
}

}  // namespace
}  // namespace devsim
