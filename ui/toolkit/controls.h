// The logic of the control helpers that does not need a window: number parsing, line-break
// conversion and the date-time picker's time conversions. controls_win.h holds the helpers.
#pragma once
#include <cstdint>
#include <string>

namespace spinox {

// An edit field's text as a number, "%d" style: leading white space, an optional sign, the
// decimal digits up to the first other character. 0 when no number begins the text; values
// beyond 32 bits are held at the nearest end of the range.
int32_t ParseEditInt(const char* text);

// Text with bare line feeds made fit for a multi-line edit field: a carriage return before
// each line feed. The result with its NUL fits in `size` bytes; a line break whose pair no
// longer fits ends the text.
std::string ToEditLineBreaks(const char* text, size_t size);
// The reverse: the text without its carriage returns, at most size - 1 characters.
std::string FromEditLineBreaks(const char* text, size_t size);

// The fields of a date-time picker's time, as the platform's system time record orders them.
struct PickerTime {
  uint16_t year;
  uint16_t month;  // 1..12
  uint16_t dayOfWeek;
  uint16_t day;
  uint16_t hour;
  uint16_t minute;
  uint16_t second;
  uint16_t milliseconds;
};

// A calendar time broken down in local time (daylight saving applied) for showing in a
// picker; weekday and milliseconds 0. A time the C run-time cannot break down shows as
// 1970-01-01 00:00:00.
PickerTime CalendarToPicker(int32_t time);

// Whole days picked: the first second of the picker's local day, and the first second of the
// day after it, which ends a period that counts the picker's day in full. A day is 23 or 25
// hours long when daylight saving starts or ends. -1 when the C run-time cannot represent it.
int32_t PickerDayStart(const PickerTime& t);
int32_t PickerDayAfter(const PickerTime& t);

// "%d" as the number edits show it.
std::string FormatInt(int32_t value);

}  // namespace spinox
