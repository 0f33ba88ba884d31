#include "core/date_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using core::DateTime;
using core::EncodeDateTime;
using core::FormatDateTime;
using core::StatusLine;
using core::TranscriptFileName;

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = kHour / 60;
constexpr double kSecond = kMinute / 60;
constexpr double kMillisecond = kSecond / 1000;

// Day numbers counted from 1899-12-30, the leap days of 2000 in and those of 1900 and 2100 out.
TEST(EncodeDateTime, CountsDaysFromTheEpoch) {
    const struct {
        int year, month, day;
        double value;
    } cases[] = {
        {1899, 12, 30, 0},     {1900, 1, 1, 2},      {1900, 2, 28, 60},     {1900, 3, 1, 61},
        {1999, 12, 31, 36525}, {2000, 2, 29, 36585}, {2000, 3, 1, 36586},   {2026, 12, 7, 46363},
        {2100, 2, 28, 73109},  {2100, 3, 1, 73110},  {2100, 12, 31, 73415},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDateTime(c.year, c.month, c.day, 0, 0, 0, 0), c.value)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(EncodeDateTime, AddsTheTimeOfDayAsAFraction) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(2026, 12, 7, 12, 0, 0, 0), 46363.5);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2026, 12, 7, 6, 0, 0, 0), 46363.25);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2026, 12, 7, 23, 59, 59, 999), 46364 - kMillisecond);
}

// Every day from 1900 to 2100 encodes and formats as the calendar of <chrono> has it.
TEST(DateTime, AgreesWithTheCalendarOnEveryDayFrom1900To2100) {
    using namespace std::chrono;
    const sys_days epoch = year{1899} / December / 30;
    for (sys_days d = year{1900} / January / 1; d <= sys_days{year{2100} / December / 31}; d += days{1}) {
        const year_month_day ymd{d};
        const int y = static_cast<int>(ymd.year());
        const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
        const int dd = static_cast<int>(static_cast<unsigned>(ymd.day()));
        const double expected = static_cast<double>((d - epoch).count());
        ASSERT_EQ(EncodeDateTime(y, m, dd, 0, 0, 0, 0), expected) << y << "-" << m << "-" << dd;
        char text[16];
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", y, m, dd);
        ASSERT_EQ(FormatDateTime("yyyy/mm/dd", expected + 0.75, "/", ":"), text);
    }
}

const DateTime kMorning = 46363 + 9 * kHour + 5 * kMinute + 3 * kSecond;  // 2026-12-07 09:05:03

// Pattern tokens, separators and the minutes that "mm" stands for after "hh".
TEST(FormatDateTime, FillsThePattern) {
    const struct {
        const char* pattern;
        const char* dateSeparator;
        const char* timeSeparator;
        std::string text;
    } cases[] = {
        {"yyyy/mm/dd hh:mm:ss", "/", ":", "2026/12/07 09:05:03"},
        {"yyyy/mm/dd hh:mm:ss", "-", ".", "2026-12-07 09.05.03"},
        {"yyyymmddhhnn", "/", ":", "202612070905"},
        {"hhmm", "/", ":", "0905"},
        {"hh mm", "/", ":", "09 05"},
        {"hh dd mm", "/", ":", "09 07 12"},
        {"mm", "/", ":", "12"},
        {"nn:ss", "/", ":", "05:03"},
        {"[y m d]", "/", ":", "[y m d]"},
        {"", "/", ":", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDateTime(c.pattern, kMorning, c.dateSeparator, c.timeSeparator), c.text)
            << "pattern: " << c.pattern;
    }
}

// The value is rounded to whole milliseconds and only then cut into parts.
TEST(FormatDateTime, RoundsToMillisecondsBeforeCutting) {
    const DateTime lastSecondOfYear = EncodeDateTime(2026, 12, 31, 23, 59, 59, 0);
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:mm:ss", lastSecondOfYear + 0.9994 * kSecond, "/", ":"),
              "2026/12/31 23:59:59");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:mm:ss", lastSecondOfYear + 0.9996 * kSecond, "/", ":"),
              "2027/01/01 00:00:00");
    EXPECT_EQ(FormatDateTime("hh:mm:ss", 0.4 * kSecond, "/", ":"), "00:00:00");
}

const std::string kClockLabel = "\x8C\xBB\x8D\xDD\x8E\x9E\x8D\x8F\x81\x46";               // 現在時刻：
const std::string kConnectionLabel = "\x81\x40\x90\xDA\x91\xB1\x8E\x9E\x8A\xD4\x81\x46";  // 　接続時間：

// The clock always; the connection time once one runs, wrapping every 24 hours.
TEST(StatusLine, ShowsClockAndConnectionTime) {
    const std::string clock = kClockLabel + "2026/12/07 09:05:03";
    const struct {
        const char* behaviour;
        DateTime connectTime;
        std::string line;
    } cases[] = {
        {"no connection time", 0, clock},
        {"connected just now", kMorning, clock + kConnectionLabel + "00:00:00"},
        {"1 h 2 min 3 s ago", kMorning - (kHour + 2 * kMinute + 3 * kSecond), clock + kConnectionLabel + "01:02:03"},
        {"25 hours ago", kMorning - 25 * kHour, clock + kConnectionLabel + "01:00:00"},
        {"clock set back by 90 s", kMorning + 90 * kSecond, clock + kConnectionLabel + "00:01:30"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusLine(kMorning, c.connectTime, "/", ":"), c.line) << c.behaviour;
    }
    EXPECT_EQ(StatusLine(kMorning, kMorning - kHour, "-", "."),
              kClockLabel + "2026-12-07 09.05.03" + kConnectionLabel + "01.00.00");
}

TEST(TranscriptFileName, IsTwelveDigitsOfDateAndTime) {
    EXPECT_EQ(TranscriptFileName(kMorning), "202612070905");
    EXPECT_EQ(TranscriptFileName(EncodeDateTime(2000, 2, 29, 23, 59, 0, 0)), "200002292359");
}

}  // namespace
