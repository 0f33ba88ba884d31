#include "core/date_time.h"

#include <cmath>
#include <cstdint>

namespace core {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 24LL * 60 * 60 * 1000;

// 1899-12-30, the day DateTime counts from, as a count of days since 1970-01-01.
constexpr std::int64_t kEpochDayNumber = -25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
constexpr std::int64_t DayNumberFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// The inverse of DayNumberFromCivil (H. Hinnant's civil_from_days).
constexpr CivilDate CivilFromDayNumber(std::int64_t dayNumber) {
    dayNumber += 719468;
    const std::int64_t era = (dayNumber >= 0 ? dayNumber : dayNumber - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(dayNumber - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

struct DateTimeParts {
    std::int64_t year;
    unsigned month, day, hour, minute, second;
};

DateTimeParts SplitDateTime(DateTime value) {
    const auto totalMs = static_cast<std::int64_t>(std::llround(value * static_cast<double>(kMillisecondsPerDay)));
    // Floor division keeps the time of day positive for values before the epoch.
    std::int64_t days = totalMs / kMillisecondsPerDay;
    std::int64_t msOfDay = totalMs % kMillisecondsPerDay;
    if (msOfDay < 0) {
        msOfDay += kMillisecondsPerDay;
        --days;
    }
    const CivilDate date = CivilFromDayNumber(days + kEpochDayNumber);
    const auto secondOfDay = static_cast<unsigned>(msOfDay / 1000);
    return {date.year, date.month, date.day, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
}

void AppendPadded(std::string& out, std::int64_t number, std::size_t width) {
    std::string digits = std::to_string(number);
    if (digits.size() < width) {
        out.append(width - digits.size(), '0');
    }
    out += digits;
}

}  // namespace

DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    const std::int64_t days =
        DayNumberFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochDayNumber;
    const std::int64_t msOfDay = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(days) + static_cast<double>(msOfDay) / static_cast<double>(kMillisecondsPerDay);
}

std::string FormatDateTime(std::string_view pattern, DateTime value, std::string_view dateSeparator,
                           std::string_view timeSeparator) {
    const DateTimeParts parts = SplitDateTime(value);
    std::string out;
    bool afterHourToken = false;
    while (!pattern.empty()) {
        if (pattern.starts_with("yyyy")) {
            AppendPadded(out, parts.year, 4);
            pattern.remove_prefix(4);
            afterHourToken = false;
        } else if (pattern.starts_with("mm")) {
            AppendPadded(out, afterHourToken ? parts.minute : parts.month, 2);
            pattern.remove_prefix(2);
            afterHourToken = false;
        } else if (pattern.starts_with("dd")) {
            AppendPadded(out, parts.day, 2);
            pattern.remove_prefix(2);
            afterHourToken = false;
        } else if (pattern.starts_with("hh")) {
            AppendPadded(out, parts.hour, 2);
            pattern.remove_prefix(2);
            afterHourToken = true;
        } else if (pattern.starts_with("nn")) {
            AppendPadded(out, parts.minute, 2);
            pattern.remove_prefix(2);
            afterHourToken = false;
        } else if (pattern.starts_with("ss")) {
            AppendPadded(out, parts.second, 2);
            pattern.remove_prefix(2);
            afterHourToken = false;
        } else {
            // Separators between hh and mm keep mm as the minutes.
            const char c = pattern.front();
            if (c == '/') {
                out += dateSeparator;
            } else if (c == ':') {
                out += timeSeparator;
            } else {
                out += c;
            }
            pattern.remove_prefix(1);
        }
    }
    return out;
}

std::string StatusLine(DateTime now, DateTime connectTime, std::string_view dateSeparator,
                       std::string_view timeSeparator) {
    // "現在時刻：" (current time:)
    constexpr std::string_view kClockLabel = "\x8C\xBB\x8D\xDD\x8E\x9E\x8D\x8F\x81\x46";
    // "　接続時間：" (connection time:), led by a full-width space
    constexpr std::string_view kConnectionLabel = "\x81\x40\x90\xDA\x91\xB1\x8E\x9E\x8A\xD4\x81\x46";

    std::string line(kClockLabel);
    line += FormatDateTime("yyyy/mm/dd hh:mm:ss", now, dateSeparator, timeSeparator);
    if (connectTime != 0) {
        line += kConnectionLabel;
        // Only the time-of-day part of the duration shows, so whole days drop out.
        line += FormatDateTime("hh:mm:ss", std::fabs(now - connectTime), dateSeparator, timeSeparator);
    }
    return line;
}

std::string TranscriptFileName(DateTime now) { return FormatDateTime("yyyymmddhhnn", now, "/", ":"); }

}  // namespace core
