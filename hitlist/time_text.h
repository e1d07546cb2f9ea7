// Times as the user sees them: local time formatted with the user's strftime formats.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace spinox {

// The user's strftime formats of dates and times (the settings' _date and _time).
struct TimeFormats {
  std::string date;
  std::string time;
};

// `t` as local time formatted with `format`, at most `limit` - 1 characters (a buffer of
// `limit` bytes); the empty text when it does not fit or `t` has no local time. Conversions
// outside the C standard's basic set (aAbBcdHIjmMpSUwWxXyYZ%) are written as typed, so a
// format means the same on every run-time and a stray percent sign cannot upset it.
std::string FormatLocalTime(int32_t t, const std::string& format, size_t limit);

// Whole days between `then` and `now`, cut toward zero.
int32_t DaysBetween(int32_t then, int32_t now);

}  // namespace spinox
