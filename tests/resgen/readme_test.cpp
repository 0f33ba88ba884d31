#include "test_support.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using resgen_test::ReadBytes;

const std::filesystem::path kResources = RESOURCES_DIR;
const std::filesystem::path kSources = SOURCES_DIR;
constexpr std::size_t kMaxLineBytes = 70;  // what the narrow help window shows without cutting

std::string ReadText(const std::filesystem::path& path) {
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The text in another encoding; throws at a byte that the target encoding cannot take.
std::string Convert(std::string text, const char* from, const char* to) {
    const iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("no converter from ") + from + " to " + to);
    }
    std::string output(text.size() * 4, '\0');
    char* in = text.data();
    char* out = output.data();
    std::size_t inLeft = text.size();
    std::size_t outLeft = output.size();
    const bool failed = iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1);
    iconv_close(converter);
    if (failed) {
        throw std::runtime_error("cannot convert byte " + std::to_string(text.size() - inLeft) + " from " + from);
    }
    output.resize(output.size() - outLeft);
    return output;
}

std::string WithCrLf(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n') {
            result += '\r';
        }
        result += c;
    }
    return result;
}

// readme.txt is the UTF-8 source in code page 932 with CR LF, so an edit of the source that was
// not converted with make-readme.sh shows up here.
TEST(Readme, IsTheUtf8SourceInCodePage932WithCrLf) {
    const std::string source = ReadText(kResources / "readme.utf8.txt");
    const std::string shipped = ReadText(kResources / "readme.txt");
    ASSERT_EQ(source.find('\r'), std::string::npos) << "the UTF-8 source has LF line ends only";
    EXPECT_EQ(shipped, WithCrLf(Convert(source, "UTF-8", "CP932")));
    EXPECT_EQ(Convert(shipped, "CP932", "UTF-8"), WithCrLf(source)) << "the round trip gives the source back";
}

// The help window lists the file line by line: every line ends in CR LF, fits the window, and
// holds no byte that would end or cut the listing early.
TEST(Readme, HasShortCrLfLinesWithoutStopBytes) {
    const std::string shipped = ReadText(kResources / "readme.txt");
    ASSERT_FALSE(shipped.empty());
    ASSERT_TRUE(shipped.ends_with("\r\n")) << "the last line is ended too";
    std::size_t lineStart = 0;
    int lineNumber = 1;
    for (std::size_t at = 0; at < shipped.size(); ++at) {
        const char c = shipped[at];
        EXPECT_NE(c, '\x1A') << "Ctrl-Z in line " << lineNumber;
        EXPECT_NE(c, '\0') << "NUL in line " << lineNumber;
        if (c == '\r') {
            EXPECT_TRUE(at + 1 < shipped.size() && shipped[at + 1] == '\n') << "lone CR in line " << lineNumber;
        } else if (c == '\n') {
            EXPECT_TRUE(at > 0 && shipped[at - 1] == '\r') << "lone LF in line " << lineNumber;
            EXPECT_LE(at - 1 - lineStart, kMaxLineBytes) << "line " << lineNumber << " is too wide";
            lineStart = at + 1;
            ++lineNumber;
        }
    }
}

// Every string literal of the program's own sources (UTF-8), the texts it shows among them.
std::string ProgramLiterals() {
    std::string literals;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSources)) {
        if (entry.path().extension() != ".cpp") continue;
        const std::string source = ReadText(entry.path());
        static const std::regex kLiteral(R"re("((?:[^"\\\n]|\\.)*)")re");
        for (std::sregex_iterator it(source.begin(), source.end(), kLiteral), end; it != end; ++it) {
            literals += "\n" + (*it)[1].str() + "\n";
        }
    }
    return literals;
}

// The value of one string of the version resource.
std::string VersionValue(const std::string& key) {
    const std::string script = ReadText(kResources / "version.rc");
    std::smatch match;
    if (!std::regex_search(script, match, std::regex("VALUE \"" + key + "\", \"([^\"]*)\""))) return {};
    return match[1].str();
}

// Texts the help quotes that the system, not the program, shows (the exit question's buttons and
// the Find dialog's controls).
const std::vector<std::string> kSystemTexts = {"はい", "次を検索", "方向", "キャンセル"};

// What the help puts in 「」 is a name the program shows: a menu item (before its access key), a
// button, a label or a message. A renamed command or a changed message then shows up here.
TEST(Readme, QuotesOnlyTextsTheProgramShows) {
    const std::string help = ReadText(kResources / "readme.utf8.txt");
    const std::string literals = ProgramLiterals();
    const std::string open = "「";
    const std::string close = "」";
    int quotes = 0;
    for (std::size_t start = help.find(open); start != std::string::npos; start = help.find(open, start + 1)) {
        const std::size_t textStart = start + open.size();
        const std::size_t end = help.find(close, textStart);
        ASSERT_NE(end, std::string::npos) << "an unclosed 「 in the help";
        const std::string quoted = help.substr(textStart, end - textStart);
        ++quotes;
        if (std::find(kSystemTexts.begin(), kSystemTexts.end(), quoted) != kSystemTexts.end()) continue;
        const bool whole = literals.find("\n" + quoted + "\n") != std::string::npos;
        const bool withAccessKey = literals.find("\n" + quoted + "(&") != std::string::npos;
        EXPECT_TRUE(whole || withAccessKey) << "the help quotes 「" << quoted << "」, which the program never shows";
    }
    EXPECT_GE(quotes, 10) << "the help names the program's commands in 「」";
}

// The version window's lines that the help shows as an example are the program's own.
TEST(Readme, ShowsTheVersionResourcesFields) {
    const std::string help = ReadText(kResources / "readme.utf8.txt");
    for (const char* key : {"ProductName", "FileVersion", "CompanyName", "Comments"}) {
        const std::string value = VersionValue(key);
        ASSERT_FALSE(value.empty()) << key;
        EXPECT_NE(help.find(value), std::string::npos) << "the help does not show " << key << " " << value;
    }
    EXPECT_NE(help.find("Ver. " + VersionValue("FileVersion")), std::string::npos);
}

}  // namespace
