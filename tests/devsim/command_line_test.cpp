#include "command_line.h"

#include <gtest/gtest.h>

#include <functional>

namespace devsim {
namespace {

std::vector<std::string_view> Split(std::initializer_list<std::string_view> words) {
    return std::vector<std::string_view>(words);
}

Options WithOut(std::string path, const std::function<void(Options&)>& change = {}) {
    Options options;
    options.outPath = std::move(path);
    if (change) {
        change(options);
    }
    return options;
}

struct AcceptedCase {
    std::vector<std::string_view> arguments;
    Options expected;
};

// Every option reaches its field; the rest keep the defaults: demo text at
// 960 bytes/s (9600 baud 8N1), seed 1, endless, chunk chosen from the rate.
TEST(CommandLine, AcceptsEachOptionAndKeepsTheOthersAtTheirDefaults) {
    const AcceptedCase cases[] = {
        {Split({"--out", "/tmp/com5-peer"}), WithOut("/tmp/com5-peer")},
        {Split({"--out", "-"}), WithOut("-")},
        {Split({"--out=/dev/pts/3"}), WithOut("/dev/pts/3")},
        {Split({"--out", "p", "--rate", "max"}), WithOut("p", [](Options& o) { o.bytesPerSecond.reset(); })},
        {Split({"--out", "p", "--rate", "1"}), WithOut("p", [](Options& o) { o.bytesPerSecond = 1; })},
        {Split({"--out", "p", "--rate=1000000000"}),
         WithOut("p", [](Options& o) { o.bytesPerSecond = 1'000'000'000; })},
        {Split({"--out", "p", "--source", "sjis"}), WithOut("p", [](Options& o) { o.source = SourceKind::Sjis; })},
        {Split({"--out", "p", "--source", "raw"}), WithOut("p", [](Options& o) { o.source = SourceKind::Raw; })},
        {Split({"--out", "p", "--source", "demo"}), WithOut("p")},
        {Split({"--out", "p", "--source", "file:/a b/c=d.txt"}), WithOut("p",
                                                                         [](Options& o) {
                                                                             o.source = SourceKind::File;
                                                                             o.sourceFilePath = "/a b/c=d.txt";
                                                                         })},
        {Split({"--out", "p", "--seed", "0"}), WithOut("p", [](Options& o) { o.seed = 0; })},
        {Split({"--out", "p", "--seed", "4294967295"}), WithOut("p", [](Options& o) { o.seed = 4294967295u; })},
        {Split({"--out", "p", "--count", "0"}), WithOut("p", [](Options& o) { o.byteCount = 0; })},
        {Split({"--out", "p", "--count", "18446744073709551615"}),
         WithOut("p", [](Options& o) { o.byteCount = 18446744073709551615u; })},
        {Split({"--out", "p", "--loop"}), WithOut("p", [](Options& o) { o.loop = true; })},
        {Split({"--out", "p", "--chunk", "1"}), WithOut("p", [](Options& o) { o.chunkBytes = 1; })},
        {Split({"--out", "p", "--wait-for-out", "2.5"}), WithOut("p", [](Options& o) { o.waitForOutSeconds = 2.5; })},
        {Split({"--out", "p", "--verbose"}), WithOut("p", [](Options& o) { o.verbose = true; })},
        {Split({"--rate", "50", "--out", "q", "--rate", "100"}),
         WithOut("q", [](Options& o) { o.bytesPerSecond = 100; })},
    };
    for (const AcceptedCase& testCase : cases) {
        const ParseResult result = ParseCommandLine(testCase.arguments);
        SCOPED_TRACE(testCase.arguments.back());
        ASSERT_TRUE(result.options.has_value()) << result.error;
        EXPECT_TRUE(*result.options == testCase.expected);
        EXPECT_EQ(result.error, "");
    }
}

TEST(CommandLine, DefaultsAreTheDemoTextAtTheSerialLinePace) {
    const ParseResult result = ParseCommandLine(Split({"--out", "p"}));
    ASSERT_TRUE(result.options.has_value());
    EXPECT_EQ(result.options->bytesPerSecond, std::optional<std::uint64_t>(960));
    EXPECT_EQ(result.options->source, SourceKind::Demo);
    EXPECT_EQ(result.options->seed, 1u);
    EXPECT_FALSE(result.options->byteCount.has_value());
    EXPECT_FALSE(result.options->chunkBytes.has_value());
}

struct RejectedCase {
    std::vector<std::string_view> arguments;
    std::string_view errorMentions;
};

// A mistyped command line is refused with a message naming the culprit,
// never run with a value quietly bent into range.
TEST(CommandLine, RefusesMissingUnknownAndOutOfRangeArguments) {
    const RejectedCase cases[] = {
        {Split({}), "--out"},
        {Split({"--rate", "960"}), "--out"},
        {Split({"--out"}), "--out needs a value"},
        {Split({"--out="}), "--out"},
        {Split({"--out", "p", "--rate", "0"}), "--rate"},
        {Split({"--out", "p", "--rate", "-5"}), "--rate"},
        {Split({"--out", "p", "--rate", "12abc"}), "--rate"},
        {Split({"--out", "p", "--rate", "1000000001"}), "--rate"},
        {Split({"--out", "p", "--rate", "MAX"}), "--rate"},
        {Split({"--out", "p", "--source", "file:"}), "--source"},
        {Split({"--out", "p", "--source", "ascii"}), "--source"},
        {Split({"--out", "p", "--seed", "4294967296"}), "--seed"},
        {Split({"--out", "p", "--seed", ""}), "--seed"},
        {Split({"--out", "p", "--count", "-1"}), "--count"},
        {Split({"--out", "p", "--count", "18446744073709551616"}), "--count"},
        {Split({"--out", "p", "--chunk", "0"}), "--chunk"},
        {Split({"--out", "p", "--wait-for-out", "-1"}), "--wait-for-out"},
        {Split({"--out", "p", "--wait-for-out", "nan"}), "--wait-for-out"},
        {Split({"--out", "p", "--wait-for-out", "inf"}), "--wait-for-out"},
        {Split({"--out", "p", "--loop=yes"}), "--loop"},
        {Split({"--out", "p", "--speed", "9600"}), "--speed"},
        {Split({"--out", "p", "extra"}), "extra"},
        // Progress lines would land in the byte stream itself.
        {Split({"--out", "-", "--verbose"}), "--verbose"},
    };
    for (const RejectedCase& testCase : cases) {
        const ParseResult result = ParseCommandLine(testCase.arguments);
        SCOPED_TRACE(testCase.errorMentions);
        EXPECT_FALSE(result.options.has_value());
        EXPECT_NE(result.error.find(testCase.errorMentions), std::string::npos) << result.error;
    }
}

}  // namespace
}  // namespace devsim
