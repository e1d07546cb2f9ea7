#include "hitlist/view.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/clock.h"
#include "hitlist/test_db.h"
#include "hitlist/time_text.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using Strings = std::vector<std::string>;

TEST(Columns, SetsOfEachListType) {
  struct Case {
    int32_t type, pos, change, period, check;
    Strings titles;
  } const cases[] = {
      {kListSongs, 1, 1, kPeriodWeek, 0, {"#", "Prev", "Chng", "Title", "Artist", "Album", "Hits"}},
      {kListSongs, 1, 1, kPeriodAll, 2, {"#", "Title", "Artist", "Album", "Hits", "Last Played"}},
      {kListAlbums, 0, 1, kPeriodDay, 1, {"#", "Chng", "Album", "Artist", "Hits"}},
      {kListArtists, 1, 0, kPeriodUser, 1, {"#", "Prev", "Artist", "Hits"}},
      {kListLog, 1, 1, kPeriodWeek, 1, {"#", "Title", "Artist", "Album", "Played"}},
  };
  for (const Case& c : cases) {
    Strings titles;
    for (const HitListColumn& col : ColumnSet(c.type, c.pos, c.change, c.period, c.check))
      titles.push_back(col.title);
    EXPECT_EQ(titles, c.titles) << c.type;
  }
  std::vector<HitListColumn> songs = ColumnSet(kListSongs, 1, 1, kPeriodWeek, 1);
  std::vector<int32_t> formats;
  for (const HitListColumn& col : songs) formats.push_back(col.format);
  EXPECT_EQ(formats, (std::vector<int32_t>{0, 2, 2, 0, 0, 0, 2, 0}));
  // Widths share the list by weight with five per cent to spare.
  EXPECT_EQ(ColumnWidths(ColumnSet(kListArtists, 0, 0, kPeriodDay, 0), 400),
            (std::vector<int32_t>{20, 303, 60}));
  EXPECT_EQ(ColumnWidths(songs, 0), std::vector<int32_t>(8, 0));
}

TEST(TitleLine, EveryForm) {
  test::ScopedZone zone("Europe/Berlin");
  const int32_t s = 1700000000, e = s + 604800;  // 22:13 UTC, 23:13 in Berlin
  const std::string period = "( 2023-11-14 - 2023-11-21 )";
  // Whole days picked end at the next day's first second: the title names the last day.
  const int32_t midnight = 1721080800;  // 2024-07-16 00:00 in Berlin, 22:00 UTC the day before
  struct Case {
    int32_t type, period, start, end, filter;
    const char* value;
    int32_t rows;
    std::string expected;
  } const cases[] = {
      {kListSongs, kPeriodWeek, s, e, kFilterNone, "", 7, "Top 7 Songs " + period + " "},
      {kListAlbums, kPeriodAll, s, e, kFilterArtist, "abba", 3, "Top 3 Albums  ( Artist = abba )"},
      {kListLog, kPeriodAll, s, e, kFilterNone, "", 20, "Last 20 played "},
      {kListLog, kPeriodDay, s, e, kFilterAlbum, "abba - gold", 2,
       "Log " + period + " ( Album = abba - gold )"},
      {kListArtists, kPeriodUser, s, e + 1, kFilterPlaylist, "x", 1,
       "Top 1 Artists " + period + " ( Winamp Playlist )"},
      {kListSongs, kPeriodUser, midnight - 86400, midnight, kFilterNone, "", 2,
       "Top 2 Songs ( 2024-07-15 - 2024-07-15 ) "},
      {kListSongs, kPeriodWeek, midnight - 86400, midnight, kFilterNone, "", 2,
       "Top 2 Songs ( 2024-07-15 - 2024-07-16 ) "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TitleLine(c.type, c.period, c.start, c.end, c.filter, c.value, c.rows, "%Y-%m-%d"),
              c.expected);
  }
}

// Local time in zones with and without daylight saving, on both sides of a change.
TEST(TimeText, LocalTimeOfFixedInstants) {
  struct Case {
    const char* zone;
    int32_t t;
    const char* text;
  } const cases[] = {
      {"UTC", 1700000000, "14/11/23 22:13:20 UTC"},
      {"Europe/Berlin", 1700000000, "14/11/23 23:13:20 CET"},
      {"Europe/Berlin", 1711846799, "31/03/24 01:59:59 CET"},  // the last second of winter time
      {"Europe/Berlin", 1711846800, "31/03/24 03:00:00 CEST"},
      {"Europe/Berlin", 1721080800, "16/07/24 00:00:00 CEST"},  // 15/07/24 22:00 UTC
      {"America/New_York", 1721080800, "15/07/24 18:00:00 EDT"},
  };
  for (const Case& c : cases) {
    test::ScopedZone zone(c.zone);
    EXPECT_EQ(FormatLocalTime(c.t, "%d/%m/%y %H:%M:%S %Z", 50), c.text) << c.zone;
  }
}

TEST(TimeText, FormatsAndLimits) {
  const int32_t t = 1700000000;
  struct Case {
    const char* format;
    size_t size;
    std::string expected;
  } const cases[] = {
      {"%Y", 5, "2023"},
      {"%Y", 4, ""},  // does not fit
      {"", 50, ""},
      {"%Q %Ez %", 50, "%Q %Ez %"},  // conversions outside the basic set are written as typed
      {"100%%", 50, "100%"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatLocalTime(t, c.format, c.size), c.expected);
  EXPECT_EQ(DaysBetween(t - 36 * 3600, t), 1);
  EXPECT_EQ(DaysBetween(t + 36 * 3600, t), -1);
}

const TimeFormats kFormats = {"%d/%m/%y", "%H:%M:%S"};

class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    stored_._period = kPeriodWeek;
    list_._hitlistsize = -1;
    SetClockOverride(kNow);
    test::WriteSongs({{"One", "Abba", "Gold", 0, 0, "/m/1.mp3", kNow - 36 * 3600},
                      {"Two <b>", "Abba", "Gold", 0, 0, "/m/2.mp3", kNow - 3600}});
  }
  static constexpr int32_t kNow = 1700000000;  // 14/11/23 23:13:20 in Berlin
  test::ScopedZone zone_{"Europe/Berlin"};
  test::TempDatabase db_;
  HitListSettings stored_ = {};
  ShownList list_{stored_};
};

TEST_F(Display, SongRowsWithPositionsAndDays) {
  stored_._pos = stored_._change = stored_._check = 1;
  HitListItem items[4] = {{1, 5, 0}, {0, 2, -1}, {0, 0, -1}, {1, 1, 1}};
  HitListRows rows = DisplayRows(list_, items, 4, kListSongs, kFormats);
  ASSERT_TRUE(rows.ok);
  ASSERT_EQ(rows.cells.size(), 2u);  // stops at the first item without plays
  EXPECT_EQ(list_._hitlistsize, 2);
  EXPECT_EQ(rows.cells[0], (Strings{"1", "1", "=", "Two <b>", "Abba", "Gold", "5", "0 days"}));
  EXPECT_EQ(rows.cells[1], (Strings{"2", "-", "*", "One", "Abba", "Gold", "2", "1 days"}));
  EXPECT_EQ(rows.title.substr(0, 12), "Top 2 Songs ");
}

TEST_F(Display, LastPlayedTimeAndTheLog) {
  stored_._check = 2;
  HitListItem items[2] = {{0, 1, -1}, {-1, 9, 0}};
  HitListRows rows = DisplayRows(list_, items, 2, kListSongs, kFormats);
  ASSERT_EQ(rows.cells.size(), 1u);
  EXPECT_EQ(rows.cells[0][5], "13/11/23 11:13:20");
  stored_._period = kPeriodAll;
  HitListItem log[3] = {{1, kNow - 10, -1}, {0, kNow - 20, -1}, {1, kNow - 30, -1}};
  rows = DisplayRows(list_, log, 3, kListLog, kFormats);
  ASSERT_EQ(rows.cells.size(), 3u);
  EXPECT_EQ(rows.cells[2], (Strings{"3", "Two <b>", "Abba", "Gold", "14/11/23 23:12:50"}));
  EXPECT_EQ(rows.title, "Last 3 played ");
}

// The playlist's mark comes off the counts in the array; a record that is not there reads as
// empty; without the record file no row is made and the rows on show stay as they were.
TEST_F(Display, PlaylistMarkAndMissingRecords) {
  list_._filter = kFilterPlaylist;
  HitListItem items[3] = {{1, 4, -1}, {99, 1, -1}, {2, -3, -1}};
  HitListRows rows = DisplayRows(list_, items, 3, kListSongs, kFormats);
  ASSERT_EQ(rows.cells.size(), 2u);
  EXPECT_EQ(rows.cells[0][4], "3");
  EXPECT_EQ(rows.cells[1], (Strings{"2", "", "", "", "0"}));
  EXPECT_EQ((std::vector<int32_t>{items[0].hits, items[1].hits, items[2].hits}),
            (std::vector<int32_t>{3, 0, -3}));
  EXPECT_FALSE(DisplayRows(list_, items, 1, kListAlbums, kFormats).ok);
  EXPECT_EQ(list_._hitlistsize, 2);
}

// The refresh computes the list its settings and filter ask for, positions too.
TEST_F(Display, RecomputeShowsTheListOfItsSettings) {
  test::WriteHits({{0, 0, 0, kNow - 604800 - 10},
                   {1, 0, 0, kNow - 100},
                   {1, 0, 0, kNow - 90},
                   {0, 0, 0, kNow - 80}});
  stored_._size = 100;
  stored_._start = kNow - 604800;
  stored_._end = kNow;
  stored_._change = 1;
  HitListRows rows = RecomputeHitList(list_, nullptr, kFormats);
  ASSERT_EQ(rows.cells.size(), 2u);
  EXPECT_EQ(rows.cells[0], (Strings{"1", "*", "Two <b>", "Abba", "Gold", "2"}));
  EXPECT_EQ(rows.cells[1], (Strings{"2", "-1", "One", "Abba", "Gold", "1"}));
  EXPECT_EQ(list_._hitlistsize, 2);
  EXPECT_EQ(list_._hitlist.size(), 100u);
  EXPECT_EQ(rows.title.substr(0, 12), "Top 2 Songs ");
  list_._filter = kFilterArtist;
  SetField(list_._theFilter, "nobody here");
  EXPECT_NE(RecomputeHitList(list_, nullptr, kFormats).title.find("( Artist = nobody here )"),
            std::string::npos);
}

}  // namespace
}  // namespace spinox
