#include "ui/toolkit/controls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace spinox {
namespace {

TEST(ParseEditInt, ReadsTheLeadingNumberLikeScanf) {
  EXPECT_EQ(ParseEditInt("12abc"), 12);
  EXPECT_EQ(ParseEditInt(" -7"), -7);
  EXPECT_EQ(ParseEditInt("\t+15 "), 15);
  EXPECT_EQ(ParseEditInt("0042"), 42);
  EXPECT_EQ(ParseEditInt("abc"), 0);
  EXPECT_EQ(ParseEditInt("-"), 0);
  EXPECT_EQ(ParseEditInt("- 5"), 0);
  EXPECT_EQ(ParseEditInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseEditInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseEditInt("99999999999999999999999"), INT32_MAX);
  EXPECT_EQ(ParseEditInt("-99999999999999999999999"), INT32_MIN);
}

TEST(EditLineBreaks, LineFeedsBecomePairsWithinTheBuffer) {
  EXPECT_EQ(ToEditLineBreaks("a\nb", 200), "a\r\nb");
  EXPECT_EQ(ToEditLineBreaks("\n\n", 200), "\r\n\r\n");
  EXPECT_EQ(ToEditLineBreaks("abcdef", 4), "abc");
  // "ab" fills 2 of 3 characters: the pair no longer fits and ends the text.
  EXPECT_EQ(ToEditLineBreaks("ab\ncd", 4), "ab");
  EXPECT_EQ(ToEditLineBreaks("a\nb", 4), "a\r\n");
  EXPECT_EQ(ToEditLineBreaks("a\nb", 1), "");
  EXPECT_EQ(ToEditLineBreaks("a", 0), "");
  for (size_t size = 1; size < 12; ++size)
    EXPECT_LE(ToEditLineBreaks("x\ny\n\nz\n", size).size() + 1, size);
}

TEST(EditLineBreaks, CarriageReturnsAreDroppedOnTheWayBack) {
  EXPECT_EQ(FromEditLineBreaks("a\r\nb", 200), "a\nb");
  EXPECT_EQ(FromEditLineBreaks("one\r\ntwo\r\n", 200), "one\ntwo\n");
  EXPECT_EQ(FromEditLineBreaks("abc\r\ndef", 5), "abc") << "the field is read in size - 1";
  EXPECT_EQ(FromEditLineBreaks("abc\r\ndef", 6), "abc\n");
  EXPECT_EQ(FromEditLineBreaks("abc", 1), "");
  std::string back = FromEditLineBreaks(ToEditLineBreaks("1\n2\n3", 200).c_str(), 200);
  EXPECT_EQ(back, "1\n2\n3");
}

// Runs the body with the process time zone set to `tz`, then restores it.
class TimeZone {
 public:
  explicit TimeZone(const char* tz) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~TimeZone() {
    if (had_)
      setenv("TZ", old_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  bool had_ = false;
  std::string old_;
};

TEST(PickerTime, PickerFieldsAreLocalStandardTime) {
  TimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
  PickerTime newYear = {2004, 1, 4, 1, 0, 0, 0, 0};
  EXPECT_EQ(PickerToCalendar(newYear), 1072911600) << "local midnight, 23:00 UTC the day before";
  // In summer the fields are still taken as standard time: one hour after the wall clock.
  PickerTime summer = {2004, 7, 0, 1, 12, 0, 0, 0};
  EXPECT_EQ(PickerToCalendar(summer), 1088679600);
}

TEST(PickerTime, CalendarTimesAreShownInUtc) {
  TimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
  PickerTime t = CalendarToPicker(1072911600);
  EXPECT_EQ(t.year, 2003);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 31);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.dayOfWeek, 0);
  EXPECT_EQ(t.milliseconds, 0);
  // Not inverse: the round trip moves by the zone's offset.
  EXPECT_EQ(PickerToCalendar(CalendarToPicker(1072911600)), 1072911600 - 3600);
  PickerTime epoch = CalendarToPicker(0);
  EXPECT_EQ(epoch.year, 1970);
  EXPECT_EQ(epoch.day, 1);
}

TEST(CellTexts, NumbersAsTheListShowsThem) {
  EXPECT_EQ(FormatOneDecimal(3.0f), "3.0");
  EXPECT_EQ(FormatInt(-12), "-12");
}

}  // namespace
}  // namespace spinox
