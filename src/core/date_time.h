#pragma once

#include <string>
#include <string_view>

namespace core {

// Days since 1899-12-30; the fraction is the time of day. A duration is the difference of two.
using DateTime = double;

// Expects a valid calendar date (years 1 to 9999) and a valid time of day.
DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

// Pattern tokens: yyyy (year), mm (month; the minutes when it follows an hh token with no other
// token between, as in "hh:mm"), dd, hh (00..23), nn (minutes), ss, all with leading zeros.
// "/" is replaced by dateSeparator, ":" by timeSeparator, any other byte is copied.
// The value is rounded to whole milliseconds first, so 23:59:59.9996 shows as the next day.
std::string FormatDateTime(std::string_view pattern, DateTime value, std::string_view dateSeparator,
                           std::string_view timeSeparator);

// "現在時刻：" and the clock as "yyyy/mm/dd hh:mm:ss"; once a connection time runs (connectTime
// not 0), "　接続時間：" and the time since then as "hh:mm:ss", which starts again at 00:00:00
// every 24 hours and shows the size of a negative difference. Shift_JIS bytes.
std::string StatusLine(DateTime now, DateTime connectTime, std::string_view dateSeparator,
                       std::string_view timeSeparator);

// The proposed transcript name: "yyyymmddhhnn", twelve digits.
std::string TranscriptFileName(DateTime now);

}  // namespace core
