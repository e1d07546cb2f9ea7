#include "ui/osd/display_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/clock.h"
#include "base/text.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

constexpr int32_t kNow = 1700000000;

SongInfo Song() {
  SongInfo s = {};
  SetField(s.title, "Song");
  SetField(s.artist, "Band");
  SetField(s.album, "Record");
  s.hits = 3;
  s.hitsDay = 1;
  s.hitsWeek = 2;
  s.hitsMonth = 4;
  s.hitsYear = 5;
  s.hitsAlbum = 6;
  s.hitsArtist = 10;
  s.lastPlayed = kNow - 26 * 3600;
  return s;
}

std::string Expand(const std::string& tmpl, const SongInfo& s = Song(), int32_t row = -1) {
  DisplayContext c{kNow, row, "%d/%m/%y", "%H:%M:%S"};
  return ExpandDisplayText(tmpl.c_str(), tmpl.size(), s, c);
}

TEST(DisplayText, DefaultTemplate) {
  EXPECT_EQ(Expand("%title (%hits)\n%artist (%hitsartist)\n%album (%hitsalbum)"),
            "Song (3)\nBand (10)\nRecord (6)");
}

TEST(DisplayText, TagsInTheirOrder) {
  EXPECT_EQ(Expand("%hitsday %hitsweek %hitsmonth %hitsyear %hitsalbum %hitsartist %hits"),
            "1 2 4 5 6 10 3");
  EXPECT_EQ(Expand("%hitsx %Title %title."), "3x %Title Song.");
  EXPECT_EQ(Expand("%hitlistpos"), "-");
  EXPECT_EQ(Expand("%hitlistpos", Song(), 0), "1");
  EXPECT_EQ(Expand("100% 50% off %"), "100% 50% off %");
  EXPECT_EQ(Expand("%%artist"), "%Band");
  test::ScopedZone zone("Europe/Berlin");
  EXPECT_EQ(Expand("%time|%date"), "21:13:20|13/11/23");  // the last play, 20:13 UTC
}

TEST(DisplayText, TimeSinceTheLastPlay) {
  const std::pair<int32_t, const char*> kCases[] = {
      {kNow - 26 * 3600, "1 day/1/3"},  {kNow - 45, "0 mins/0/3"},
      {kNow - 60, "1 min/0/3"},         {kNow - 90 * 60, "1 hour/0/3"},
      {kNow - 5 * 3600, "5 hours/0/3"}, {kNow - 3 * 86400, "3 days/3/3"},
      {kNow + 500, "0 mins/0/3"},  // a clock set back
  };
  SongInfo s = Song();
  for (const auto& [last, want] : kCases) {
    s.lastPlayed = last;
    EXPECT_EQ(Expand("%hourspast/%dayspast/%hits", s), want) << last;
  }
  s.lastPlayed = 0;
  s.hits = 0;
  EXPECT_EQ(Expand("%hourspast/%dayspast/%hits", s), "N/A/N/A/0");
}

TEST(DisplayText, KeepsWithin499Characters) {
  std::string plain(600, 'x');
  EXPECT_EQ(Expand(plain).size(), 499u);
  // A value that would pass the limit stops the text before it.
  EXPECT_EQ(Expand(std::string(497, 'x') + "%title" + "yy"), std::string(497, 'x'));
  EXPECT_EQ(Expand(std::string(494, 'x') + "%title" + "yy"), std::string(494, 'x') + "Songy");
  EXPECT_EQ(Expand(std::string(495, 'x') + "%title" + "yy"), std::string(495, 'x') + "Song");
  // A character of the template that would pass the limit is left out whole.
  struct Cut {
    size_t before;
    const char* character;
    size_t kept;  // of the character's bytes
  };
  for (const Cut& c : {Cut{496, "群", 3}, Cut{497, "群", 0}, Cut{495, "🎵", 4}, Cut{496, "🎵", 0},
                       Cut{498, "ł", 0}, Cut{497, "ł", 2}}) {
    std::string before(c.before, 'x');
    EXPECT_EQ(Expand(before + c.character + "z"), before + std::string(c.character, c.kept))
        << c.before << " " << c.character;
  }
  SongInfo s = Song();
  std::memset(s.title, 'T', sizeof s.title);  // no NUL: read as its 50 bytes
  std::string expanded = Expand(
      "%title%title%title%title%title%title%title%title%title%title%"
      "title",
      s);
  EXPECT_EQ(expanded, std::string(450, 'T'));
}

TEST(DisplayText, TemplateEndsAtItsNulOrItsSize) {
  const char tmpl[] = {'%', 'h', 'i', 't', 's', 'a'};  // no NUL: "%hits" and "a"
  DisplayContext c{kNow, -1, "", ""};
  EXPECT_EQ(ExpandDisplayText(tmpl, sizeof tmpl, Song(), c), "3a");
  EXPECT_EQ(ExpandDisplayText(tmpl, 4, Song(), c), "%hit");
  EXPECT_EQ(Expand(std::string("ab\0%title", 9)), "ab");
}

TEST(DisplayText, FindNL) {
  EXPECT_EQ(FindNL("abc\ndef\n"), 3);
  EXPECT_EQ(FindNL("\n"), 0);
  EXPECT_EQ(FindNL("abc"), -1);
  EXPECT_EQ(FindNL(""), -1);
}

TEST(DisplayText, ExpandsTheSettingsTemplate) {
  Settings settings = {};
  SetField(settings._txt_text, "%artist at %hitlistpos");
  SetField(settings._date, "%d");
  SetField(settings._time, "%H");
  SetClockOverride(kNow);
  DisplayState display;
  ExpandTxtDisplay(settings, Song(), 4, &display);
  EXPECT_STREQ(display._txt_display, "Band at 5");
  ClearClockOverride();
}

// Cancel puts back what the display page tried out, and only that.
TEST(DisplayText, RestoreTakesBackTheEightTriedSettings) {
  Settings before = {};
  SetField(before._txt_text, "before");
  SetField(before._txt_font, "Arial");
  before._txt_timeEnd = 10;
  before._txt_size = 50;
  before._txt_bg = 0x323232;
  before._txt_bold = 1;
  before._txt_x = 50;
  before._txt_y = 100;
  Settings tried = before;
  SetField(tried._txt_text, "tried");
  SetField(tried._txt_font, "Courier New");
  tried._txt_timeEnd = 3;
  tried._txt_size = 20;
  tried._txt_bg = 0xFF;
  tried._txt_bold = 0;
  tried._txt_x = 1;
  tried._txt_y = 2;
  tried._txt = 1;  // set on another page: stays
  Settings want = before;
  want._txt = 1;
  RestoreDisplaySettings(before, &tried);
  EXPECT_EQ(std::memcmp(&tried, &want, sizeof want), 0);
}

}  // namespace
}  // namespace spinox
