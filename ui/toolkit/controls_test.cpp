#include "ui/toolkit/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_util.h"

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

constexpr char kBerlin[] = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr char kNewYork[] = "EST5EDT,M3.2.0,M11.1.0";

// Whole local days: the picker's hidden time of day plays no part.
TEST(PickerTime, DaysRunFromLocalMidnightToLocalMidnight) {
  struct Case {
    const char* zone;
    PickerTime picked;
    int32_t start, after;
  } cases[] = {
      {kBerlin, {2004, 1, 4, 1, 17, 5, 0, 0}, 1072911600, 1072998000},
      {kBerlin, {2024, 7, 1, 15, 13, 37, 5, 0}, 1720994400, 1721080800},    // summer: UTC+2
      {kBerlin, {2024, 3, 0, 31, 12, 0, 0, 0}, 1711839600, 1711922400},     // 23 hours
      {kBerlin, {2024, 10, 0, 27, 23, 59, 59, 0}, 1729980000, 1730070000},  // 25 hours
      {kBerlin, {2024, 6, 0, 30, 0, 0, 0, 0}, 1719698400, 1719784800},      // into July
      {kNewYork, {2024, 7, 1, 15, 1, 0, 0, 0}, 1721016000, 1721102400},
      {kNewYork, {2024, 11, 0, 3, 6, 0, 0, 0}, 1730606400, 1730696400},
  };
  for (const Case& c : cases) {
    spinox::test::ScopedZone zone(c.zone);
    SCOPED_TRACE(testing::Message()
                 << c.zone << " " << c.picked.year << "-" << c.picked.month << "-" << c.picked.day);
    EXPECT_EQ(PickerDayStart(c.picked), c.start);
    EXPECT_EQ(PickerDayAfter(c.picked), c.after);
    // Shown again, the bounds give the same days: nothing moves from one session to the next.
    PickerTime from = CalendarToPicker(c.start), to = CalendarToPicker(c.after - 1);
    EXPECT_EQ(from.day, c.picked.day);
    EXPECT_EQ(to.day, c.picked.day);
    EXPECT_EQ(PickerDayStart(from), c.start);
    EXPECT_EQ(PickerDayAfter(to), c.after);
  }
}

TEST(PickerTime, FieldsAreLocalTimeWithTheDaylightRule) {
  spinox::test::ScopedZone zone(kBerlin);
  PickerTime s = CalendarToPicker(1721043425);  // 11:37:05 UTC: 13:37 in Berlin in summer
  EXPECT_EQ(std::vector<int>(
                {s.year, s.month, s.day, s.hour, s.minute, s.second, s.dayOfWeek, s.milliseconds}),
            std::vector<int>({2024, 7, 15, 13, 37, 5, 0, 0}));
  // Either side of the spring change (2024-03-31 01:00 UTC): 01:59:59 CET, then 03:00 CEST.
  EXPECT_EQ(CalendarToPicker(1711846799).hour, 1);
  EXPECT_EQ(CalendarToPicker(1711846800).hour, 3);
}

}  // namespace
}  // namespace spinox
