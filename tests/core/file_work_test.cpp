// The rules of file work done in slices: when a slice ends, when progress shows, how far it reads,
// and where a cancelled load takes back its text.
#include "core/file_work.h"

#include <gtest/gtest.h>

namespace {

// A slice runs until it has had its time, however much or little each step did; the next slice
// counts from its own start.
TEST(FileWork, ASliceEndsOnceItHasHadItsTime) {
    core::FileWork work(1000, 100.0);
    EXPECT_FALSE(work.Did(1, 100.0 + core::kSliceMilliseconds - 1));
    EXPECT_TRUE(work.Did(0, 100.0 + core::kSliceMilliseconds));
    work.SliceBegins(300.0);
    EXPECT_FALSE(work.Did(500, 300.0 + core::kSliceMilliseconds / 2));
    EXPECT_TRUE(work.Did(0, 300.0 + core::kSliceMilliseconds));
}

// Progress shows only once the work has run for half a second, measured from its start, not from
// a slice's.
TEST(FileWork, ProgressShowsAfterHalfASecond) {
    core::FileWork work(10, 1000.0);
    work.SliceBegins(1400.0);
    EXPECT_FALSE(work.ProgressDue(1000.0 + core::kProgressAfterMilliseconds - 1));
    EXPECT_TRUE(work.ProgressDue(1000.0 + core::kProgressAfterMilliseconds));
}

// The work is shown at most every kShowEveryMilliseconds, counted from the last slice that showed
// it, however often slices end.
TEST(FileWork, TheWorkIsShownAFewTimesASecond) {
    core::FileWork work(10, 1000.0);
    EXPECT_FALSE(work.ShowingDue(1000.0 + core::kShowEveryMilliseconds - 1));
    EXPECT_TRUE(work.ShowingDue(1000.0 + core::kShowEveryMilliseconds + 30));
    EXPECT_FALSE(work.ShowingDue(1000.0 + 2 * core::kShowEveryMilliseconds));
    EXPECT_TRUE(work.ShowingDue(1000.0 + 2 * core::kShowEveryMilliseconds + 30));
}

// Progress is the share done in thousandths; a file that grew meanwhile stops at the end, and work
// of no size is done.
TEST(FileWork, ProgressIsTheShareDone) {
    core::FileWork work(4000, 0.0);
    EXPECT_EQ(0, work.Progress());
    work.Did(1000, 1.0);
    EXPECT_EQ(core::kProgressSteps / 4, work.Progress());
    work.Did(5000, 2.0);
    EXPECT_EQ(core::kProgressSteps, work.Progress());
    EXPECT_EQ(core::kProgressSteps, core::FileWork(0, 0.0).Progress());
}

// Only a cancel ends the work early, and it stays cancelled.
TEST(FileWork, ACancelStays) {
    core::FileWork work(10, 0.0);
    EXPECT_FALSE(work.Cancelled());
    work.Cancel();
    work.Did(10, 1.0);
    EXPECT_TRUE(work.Cancelled());
}

// A mark stays on its byte while the oldest bytes leave the text; once its byte has left, a
// take-back starts at the text's front.
TEST(FileWork, AMarkFollowsDroppedBytes) {
    core::TextMark mark(300, 50);
    EXPECT_EQ(std::optional<std::size_t>(300), mark.OffsetNow(50));
    EXPECT_EQ(std::optional<std::size_t>(100), mark.OffsetNow(250));
    mark.Advance(20);
    EXPECT_EQ(std::optional<std::size_t>(0), mark.OffsetNow(370));
    EXPECT_EQ(std::nullopt, mark.OffsetNow(371));
    EXPECT_EQ(0u, mark.StartNow(1000));
    EXPECT_EQ(20u, mark.StartNow(350));
}

}  // namespace
