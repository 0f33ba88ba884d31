// Find over the text the endurance run has received: the time from Find Next at the start of the
// text to a match at its far end (the text's last whole line, found nowhere before), the receive
// ticks while the search runs in its slices, and GNU grep -F -c over the saved transcript of the
// same text for comparison.
#pragma once

#include "bench_form.h"
#include "gap_account.h"
#include "stats.h"
#include "workspace.h"

#include <optional>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct FindTiming {
    std::string pattern;      // Shift_JIS; empty when the text holds no line to seek
    Summary took;             // ms from Find Next to the match
    Summary ticks;            // every receive tick while a search ran
    double longestGapMs = 0;  // between ticks, the search's start and end included
    GapAccount longestGap;
    bool atFarEnd = true;  // every search found the last line, not an earlier copy
};

FindTiming MeasureFind(BenchForm& bench, int repeats);

struct GrepTiming {
    Summary took;  // ms
    long count = -1;
};

// grep -F -c for `pattern` in the transcript at `transcriptName` in the workspace; nothing when
// the script could not run.
std::optional<GrepTiming> MeasureGrep(const Workspace& workspace, const std::string& transcriptName,
                                      const std::string& pattern, int repeats);

// The table's rows of the Find figures, a column per checkpoint ("-" where nothing was sought).
void PrintFindRows(const std::vector<FindTiming>& atCheckpoints);
// The last search's rate beside grep's on the same text.
void PrintFindBesideGrep(const FindTiming& find, std::uint64_t textBytes, const std::optional<GrepTiming>& grep);

}  // namespace bench
