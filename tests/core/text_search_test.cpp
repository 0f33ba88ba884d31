// Find in the text area's text: the search over blocks (some paged out), in many small steps,
// against a plain search of the whole text character by character; the folding of letters; and
// the text changing at either end while a search runs.

#include "core/text_layout.h"
#include "core/text_search.h"
#include "core/text_store.h"
#include "memory_page_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using core::SearchDirection;
using core::SearchState;

struct Character {
    std::size_t start = 0;
    std::string bytes;  // folded when case does not matter
};

// The characters as the text area shows them.
std::vector<Character> Characters(const std::string& text, bool matchCase) {
    std::vector<Character> characters;
    for (std::size_t at = 0; at < text.size(); at += characters.back().bytes.size()) {
        std::string c = text.substr(at, core::CharacterLength(text, at));
        if (!matchCase && c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z') c[0] = static_cast<char>(c[0] + 32);
        if (!matchCase && c.size() == 2 && c[0] == '\x82' && c[1] >= '\x60' && c[1] <= '\x79') {
            c[1] = static_cast<char>(c[1] + 0x21);
        }
        characters.push_back({at, c});
    }
    return characters;
}

// Down: the first match starting at or after `from` and ending by `bound`; up: the last ending by `from`.
std::optional<core::TextMatch> PlainFind(const std::string& text, const std::string& pattern, bool matchCase,
                                         SearchDirection direction, std::size_t from, std::size_t bound) {
    const std::vector<Character> all = Characters(text, matchCase);
    const std::vector<Character> wanted = Characters(pattern, matchCase);
    std::optional<core::TextMatch> found;
    for (std::size_t k = 0; k + wanted.size() <= all.size() && !wanted.empty(); ++k) {
        const auto same = [](const Character& a, const Character& b) { return a.bytes == b.bytes; };
        if (!std::equal(wanted.begin(), wanted.end(), all.begin() + static_cast<std::ptrdiff_t>(k), same)) continue;
        const std::size_t k2 = k + wanted.size();
        const core::TextMatch match{all[k].start, k2 < all.size() ? all[k2].start : text.size()};
        if (direction == SearchDirection::Down && match.start >= from && match.end <= bound) return match;
        if (direction == SearchDirection::Up && match.end <= from) found = match;
    }
    return found;
}

// Runs a search to its end, `budget` bytes a step, calling `between` between steps.
core::SearchStep RunSearch(core::TextStore& store, const core::SearchRequest& request, std::size_t budget,
                           const std::function<void()>& between = {}) {
    core::TextSearch search(request, store);
    for (int steps = 0;; ++steps) {
        const core::SearchStep step = search.Step(store, budget);
        if (step.state != SearchState::Running) return step;
        if (steps > 1'000'000) ADD_FAILURE() << "the search never ends";
        if (between) between();
    }
}

std::string RandomText(std::mt19937& random, std::size_t pieces) {
    // Letters in both cases and widths, katakana of both widths, two-byte characters whose second
    // byte is an ASCII letter or a first-byte value, line breaks of every kind, a lone first byte.
    static const char* const kPieces[] = {"a",        "A",        "b",        "B",        "\x83\x41", "\x83\x61",
                                          "\x82\x60", "\x82\x81", "\x82\x61", "\x82\x82", "\xB1",     "\x81\x81",
                                          "\r\n",     "\r",       "\n",       "\x88",     " "};
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i) text += kPieces[random() % std::size(kPieces)];
    return text;
}

struct Fixture {
    core::StoreLimits limits;
    core::TextStore store;
    std::string text;
};

// Tiny blocks of random sizes, a third of them paged out.
std::unique_ptr<Fixture> RandomStore(std::mt19937& random) {
    std::string text = RandomText(random, 20 + random() % 200);
    core::StoreLimits limits;
    limits.blockTargetBytes = 2 + random() % 24;
    limits.blockMostBytes = limits.blockTargetBytes + random() % 8;
    limits.residentBytes = text.size() * 2 / 3;
    auto fixture = std::make_unique<Fixture>(Fixture{
        limits, core::TextStore([] { return std::make_unique<testing_support::MemoryPageFile>(); }, limits), text});
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t count = 1 + random() % 40;
        fixture->store.Append(std::string_view(text).substr(at, count));
        at += count;
    }
    return fixture;
}

// A pattern cut from the text (anywhere, so often inside a character), with its case changed at
// random, or made up.
std::string RandomPattern(std::mt19937& random, const std::string& text) {
    std::string pattern;
    if (random() % 4 == 0) {
        pattern = RandomText(random, 1 + random() % 3);
    } else {
        // Often the text's end, where a match meets the bytes that arrive during the search.
        const std::size_t at =
            random() % 4 == 0 ? text.size() - std::min(text.size(), 1 + random() % 6) : random() % text.size();
        pattern = text.substr(at, 1 + random() % 6);
    }
    for (char& c : pattern) {
        if (random() % 3 == 0 && std::isalpha(static_cast<unsigned char>(c))) c ^= 0x20;
    }
    return pattern;
}

}  // namespace

TEST(TextSearch, FindsWhatAPlainSearchOfTheWholeTextFinds) {
    std::mt19937 random(20240611);
    for (int run = 0; run < 400; ++run) {
        const std::unique_ptr<Fixture> f = RandomStore(random);
        const core::SearchRequest request{RandomPattern(random, f->text), random() % 2 == 0,
                                          random() % 2 == 0 ? SearchDirection::Down : SearchDirection::Up,
                                          random() % (f->text.size() + 1)};
        const std::size_t budget = 1 + random() % 48;
        // Bytes that arrive during a search lie beyond it.
        const bool arrive = request.direction == SearchDirection::Down && random() % 3 == 0;
        const core::SearchStep step = RunSearch(f->store, request, budget, [&] {
            if (arrive) f->store.Append(RandomText(random, 1));
        });
        const std::string now = f->store.Read(0, f->store.Size());
        const std::optional<core::TextMatch> expected =
            PlainFind(now, request.pattern, request.matchCase, request.direction, request.from, f->text.size());
        const std::string what = "run " + std::to_string(run);
        ASSERT_EQ(step.state, expected ? SearchState::Found : SearchState::NotFound) << what;
        if (!expected) continue;
        ASSERT_EQ(step.match.start, expected->start) << what;
        ASSERT_EQ(step.match.end, expected->end) << what;
    }
}

// The starts of the matches found down from `from`, one Find Next after another.
std::vector<std::size_t> StartsFound(const std::string& text, const std::string& pattern, bool matchCase,
                                     std::size_t from = 0) {
    core::TextStore store;
    store.Append(text);
    std::vector<std::size_t> starts;
    for (;;) {
        const core::SearchStep step = RunSearch(store, {pattern, matchCase, SearchDirection::Down, from}, 1 << 20);
        if (step.state != SearchState::Found) return starts;
        starts.push_back(step.match.start);
        from = step.match.end;
    }
}

TEST(TextSearch, FoldsOnlyLettersAndOnlyWithinTheirWidth) {
    using Starts = std::vector<std::size_t>;
    // ASCII letters match either case, and so do full-width Latin letters.
    EXPECT_EQ(StartsFound("ABC abc", "abc", false), (Starts{0, 4}));
    EXPECT_EQ(StartsFound("ABC abc", "abc", true), (Starts{4}));
    EXPECT_EQ(StartsFound("\x82\x60\x82\x61\x82\x62", "\x82\x81\x82\x82\x82\x83", false),
              (Starts{0}));  // ａｂｃ, ＡＢＣ
    EXPECT_EQ(StartsFound("\x82\x60\x82\x61\x82\x62", "\x82\x81\x82\x82\x82\x83", true), Starts{});
    // An ASCII letter is never the second byte of a two-byte character: "A" is not inside ア.
    EXPECT_EQ(StartsFound("\x83\x41", "A", true), Starts{});
    EXPECT_EQ(StartsFound("\x83\x41", "a", false), Starts{});
    // ASCII and full-width letters stay different, as do half-width and full-width katakana, and
    // nothing but Latin letters folds (ヘ is not ボ).
    EXPECT_EQ(StartsFound("\x82\x60", "A", false), Starts{});
    EXPECT_EQ(StartsFound("A", "\x82\x60", false), Starts{});
    EXPECT_EQ(StartsFound("\xB1", "\x83\x41", false), Starts{});
    EXPECT_EQ(StartsFound("\x83\x41", "\xB1", false), Starts{});
    EXPECT_EQ(StartsFound("\x83\x60", "\x83\x81", false), Starts{});
    // A CR LF is one character: a match never starts at its LF, even from between CR and LF.
    EXPECT_EQ(StartsFound("a\r\nb\n", "\n", true), (Starts{4}));
    EXPECT_EQ(StartsFound("a\r\nb\n", "\n", true, 2), (Starts{4}));
}

TEST(TextSearch, FollowsBytesDroppedFromTheFrontDuringTheSearch) {
    core::StoreLimits limits;
    limits.blockTargetBytes = 8;
    limits.blockMostBytes = 12;
    limits.maxTextBytes = 96;
    for (const SearchDirection direction : {SearchDirection::Down, SearchDirection::Up}) {
        core::TextStore store({}, limits);
        store.Append("line one\r\nline two\r\nline three\r\nline four\r\nneedle five\r\nline six\r\n");
        const std::size_t size = store.Size();
        bool appended = false;
        const core::SearchStep step =
            RunSearch(store, {"needle", true, direction, direction == SearchDirection::Down ? 0 : size}, 4, [&] {
                if (!std::exchange(appended, true)) store.Append(std::string(60, 'z'));
            });
        ASSERT_GT(store.DroppedBytes(), 0u);
        ASSERT_EQ(step.state, SearchState::Found);
        EXPECT_EQ(store.Read(step.match.start, step.match.end), "needle");
    }
}

// The dialog proposes a selection that is a short part of one line, and nothing else.
TEST(SearchProposal, OnlyAShortPartOfOneLine) {
    const std::string longest(core::kLongestProposedText, 'x');
    EXPECT_TRUE(core::IsShortLinePart("\x8C\x76\x97\xCA 12.48kg"));  // 計量 12.48kg
    EXPECT_TRUE(core::IsShortLinePart(longest));
    EXPECT_FALSE(core::IsShortLinePart(longest + "x"));
    EXPECT_FALSE(core::IsShortLinePart(""));
    EXPECT_FALSE(core::IsShortLinePart("end\r\nnext"));
    EXPECT_FALSE(core::IsShortLinePart("end\n"));
    EXPECT_FALSE(core::IsShortLinePart("\rstart"));
}
