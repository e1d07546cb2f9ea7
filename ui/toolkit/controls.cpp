#include "ui/toolkit/controls.h"

#include <cctype>
#include <cstdio>
#include <ctime>

namespace spinox {

int32_t ParseEditInt(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (std::isspace(*p)) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int64_t value = 0;
  for (; std::isdigit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > INT64_C(0x80000000)) value = INT64_C(0x80000000);
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}

std::string ToEditLineBreaks(const char* text, size_t size) {
  std::string out;
  if (size == 0) return out;
  for (const char* p = text; *p && out.size() < size - 1; ++p) {
    if (*p == '\n') {
      if (out.size() + 2 > size - 1) break;
      out.push_back('\r');
    }
    out.push_back(*p);
  }
  return out;
}

std::string FromEditLineBreaks(const char* text, size_t size) {
  std::string out;
  if (size == 0) return out;
  // The field is read into a buffer of `size` bytes first, so only its first size - 1
  // characters take part.
  for (size_t i = 0; text[i] && i < size - 1; ++i) {
    if (text[i] != '\r') out.push_back(text[i]);
  }
  return out;
}

namespace {

// Local wall-clock fields as a calendar time; mktime decides whether daylight saving applies
// (tm_isdst -1) and carries fields out of range (day 32) into the next unit.
int32_t LocalToCalendar(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm = {};
  tm.tm_sec = second;
  tm.tm_min = minute;
  tm.tm_hour = hour;
  tm.tm_mday = day;
  tm.tm_mon = month - 1;
  tm.tm_year = year - 1900;
  tm.tm_isdst = -1;
  std::time_t time = std::mktime(&tm);
  if (time == static_cast<std::time_t>(-1) || time > INT32_MAX || time < INT32_MIN) return -1;
  return static_cast<int32_t>(time);
}

}  // namespace

int32_t PickerDayStart(const PickerTime& t) {
  return LocalToCalendar(t.year, t.month, t.day, 0, 0, 0);
}

int32_t PickerDayAfter(const PickerTime& t) {
  return LocalToCalendar(t.year, t.month, t.day + 1, 0, 0, 0);
}

PickerTime CalendarToPicker(int32_t time) {
  std::time_t t = time;
  const std::tm* tm = std::localtime(&t);
  PickerTime out = {1970, 1, 0, 1, 0, 0, 0, 0};
  if (!tm) return out;
  out.year = static_cast<uint16_t>(tm->tm_year + 1900);
  out.month = static_cast<uint16_t>(tm->tm_mon + 1);
  out.day = static_cast<uint16_t>(tm->tm_mday);
  out.hour = static_cast<uint16_t>(tm->tm_hour);
  out.minute = static_cast<uint16_t>(tm->tm_min);
  out.second = static_cast<uint16_t>(tm->tm_sec);
  return out;
}

std::string FormatInt(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return text;
}

}  // namespace spinox
