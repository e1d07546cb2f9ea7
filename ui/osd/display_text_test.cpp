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

TEST(DisplayText, TagsAndPlainText) {
  const std::pair<const char*, const char*> kCases[] = {
      {"%title (%hits)\n%artist (%hitsartist)\n%album (%hitsalbum)",
       "Song (3)\nBand (10)\nRecord (6)"},
      {"%hitsday %hitsweek %hitsmonth %hitsyear %hitsalbum %hitsartist %hits", "1 2 4 5 6 10 3"},
      {"%hitsx %Title %title.", "3x %Title Song."},
      {"%hitlistpos", "-"},
      {"100% 50% off %", "100% 50% off %"},
      {"%%artist", "%Band"},
  };
  for (const auto& [tmpl, want] : kCases) EXPECT_EQ(Expand(tmpl), want) << tmpl;
  EXPECT_EQ(Expand("%hitlistpos", Song(), 0), "1");
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
  for (auto [text, at] : {std::pair{"abc\ndef\n", 3}, {"\n", 0}, {"abc", -1}, {"", -1}})
    EXPECT_EQ(FindNL(text), at) << text;
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

// The eight settings the display page tries out.
void SetTried(Settings* s, const char* text, const char* font, int32_t timeEnd, int32_t size,
              uint32_t bg, int32_t bold, int32_t x, int32_t y) {
  SetField(s->_txt_text, text);
  SetField(s->_txt_font, font);
  s->_txt_timeEnd = timeEnd;
  s->_txt_size = size;
  s->_txt_bg = bg;
  s->_txt_bold = bold;
  s->_txt_x = x;
  s->_txt_y = y;
}

// Cancel puts back what the display page tried out, and only that.
TEST(DisplayText, RestoreTakesBackTheEightTriedSettings) {
  Settings before = {};
  SetTried(&before, "before", "Arial", 10, 50, 0x323232, 1, 50, 100);
  Settings tried = before;
  SetTried(&tried, "tried", "Courier New", 3, 20, 0xFF, 0, 1, 2);
  tried._txt = 1;  // set on another page: stays
  Settings want = before;
  want._txt = 1;
  RestoreDisplaySettings(before, &tried);
  EXPECT_EQ(std::memcmp(&tried, &want, sizeof want), 0);
}

}  // namespace
}  // namespace spinox
