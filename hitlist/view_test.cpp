#include "hitlist/view.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/clock.h"
#include "hitlist/list_memory.h"
#include "hitlist/test_db.h"
#include "hitlist/time_text.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

std::vector<std::string> Titles(const std::vector<HitListColumn>& columns) {
  std::vector<std::string> titles;
  for (const HitListColumn& c : columns) titles.push_back(c.title);
  return titles;
}

using Strings = std::vector<std::string>;

TEST(Columns, SetsOfEachListType) {
  EXPECT_EQ(Titles(ColumnSet(kListSongs, 1, 1, kPeriodWeek, 0)),
            (Strings{"#", "Prev", "Chng", "Title", "Artist", "Album", "Hits"}));
  EXPECT_EQ(Titles(ColumnSet(kListSongs, 1, 1, kPeriodAll, 2)),
            (Strings{"#", "Title", "Artist", "Album", "Hits", "Last Played"}));
  EXPECT_EQ(Titles(ColumnSet(kListAlbums, 0, 1, kPeriodDay, 1)),
            (Strings{"#", "Chng", "Album", "Artist", "Hits"}));
  EXPECT_EQ(Titles(ColumnSet(kListArtists, 1, 0, kPeriodUser, 1)),
            (Strings{"#", "Prev", "Artist", "Hits"}));
  EXPECT_EQ(Titles(ColumnSet(kListLog, 1, 1, kPeriodWeek, 1)),
            (Strings{"#", "Title", "Artist", "Album", "Played"}));
  std::vector<HitListColumn> songs = ColumnSet(kListSongs, 1, 1, kPeriodWeek, 1);
  EXPECT_EQ(songs.size(), 8u);
  EXPECT_EQ(songs[1].format, kColumnCenter);
  EXPECT_EQ(songs[3].format, kColumnLeft);
  EXPECT_EQ(songs[6].format, kColumnCenter);
  EXPECT_EQ(songs[2].weight, 10);
}

TEST(Columns, WidthsShareTheListWithFivePercentToSpare) {
  EXPECT_EQ(ColumnWidths(ColumnSet(kListArtists, 0, 0, kPeriodDay, 0), 400),
            (std::vector<int32_t>{20, 303, 60}));
  EXPECT_EQ(ColumnWidths(ColumnSet(kListArtists, 0, 0, kPeriodDay, 0), 0),
            (std::vector<int32_t>{0, 0, 0}));
  EXPECT_TRUE(ColumnWidths({}, 400).empty());
}

TEST(TitleLine, EveryForm) {
  test::ScopedZone zone("Europe/Berlin");
  const std::string date = "%Y-%m-%d";
  int32_t s = 1700000000, e = s + 604800;  // 22:13 UTC, 23:13 in Berlin
  std::string period = "( 2023-11-14 - 2023-11-21 )";
  EXPECT_EQ(TitleLine(kListSongs, kPeriodWeek, s, e, kFilterNone, "", 7, date),
            "Top 7 Songs " + period + " ");
  EXPECT_EQ(TitleLine(kListAlbums, kPeriodAll, s, e, kFilterArtist, "abba", 3, date),
            "Top 3 Albums  ( Artist = abba )");
  EXPECT_EQ(TitleLine(kListLog, kPeriodAll, s, e, kFilterNone, "", 20, date), "Last 20 played ");
  EXPECT_EQ(TitleLine(kListLog, kPeriodDay, s, e, kFilterAlbum, "abba - gold", 2, date),
            "Log " + period + " ( Album = abba - gold )");
  EXPECT_EQ(TitleLine(kListArtists, kPeriodUser, s, e, kFilterPlaylist, "x", 1, date),
            "Top 1 Artists " + period + " ( Winamp Playlist )");
  // Whole days picked end at the next day's first second: the title names the last day.
  int32_t midnight = 1721080800;  // 2024-07-16 00:00 in Berlin, 22:00 UTC the day before
  EXPECT_EQ(
      TitleLine(kListSongs, kPeriodUser, midnight - 86400, midnight, kFilterNone, "", 2, date),
      "Top 2 Songs ( 2024-07-15 - 2024-07-15 ) ");
  EXPECT_EQ(
      TitleLine(kListSongs, kPeriodWeek, midnight - 86400, midnight, kFilterNone, "", 2, date),
      "Top 2 Songs ( 2024-07-15 - 2024-07-16 ) ");
}

// Local time in zones with and without daylight saving, on both sides of a change.
TEST(TimeText, LocalTimeOfFixedInstants) {
  struct Case {
    const char* zone;
    int32_t t;
    const char* text;
  };
  const Case cases[] = {
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
  int32_t t = 1700000000;
  EXPECT_EQ(FormatLocalTime(t, "%Y", 5), "2023");
  EXPECT_EQ(FormatLocalTime(t, "%Y", 4), "");  // does not fit
  EXPECT_EQ(FormatLocalTime(t, "", 50), "");
  // Conversions outside the basic set are written as typed, also a trailing percent sign.
  EXPECT_EQ(FormatLocalTime(t, "%Q %Ez %", 50), "%Q %Ez %");
  EXPECT_EQ(FormatLocalTime(t, "100%%", 50), "100%");
  EXPECT_EQ(DaysBetween(t - 36 * 3600, t), 1);
  EXPECT_EQ(DaysBetween(t + 36 * 3600, t), -1);
}

const TimeFormats kFormats = {"%d/%m/%y", "%H:%M:%S"};

class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    _filter = kFilterNone;
    _period = kPeriodWeek;
    _pos = _change = _check = 0;
    _hitlistsize = -1;
    SetClockOverride(kNow);
    test::WriteSongs({{"One", "Abba", "Gold", 0, 0, "/m/1.mp3", kNow - 36 * 3600},
                      {"Two <b>", "Abba", "Gold", 0, 0, "/m/2.mp3", kNow - 3600}});
  }
  static constexpr int32_t kNow = 1700000000;  // 14/11/23 23:13:20 in Berlin
  test::ScopedZone zone_{"Europe/Berlin"};
  test::TempDatabase db_;
};

TEST_F(Display, SongRowsWithPositionsAndDays) {
  _pos = _change = 1;
  _check = 1;
  HitListItem items[4] = {{1, 5, 0}, {0, 2, -1}, {0, 0, -1}, {1, 1, 1}};
  HitListRows rows = DisplayRows(items, 4, kListSongs, kFormats);
  ASSERT_TRUE(rows.ok);
  ASSERT_EQ(rows.cells.size(), 2u);  // stops at the first item without plays
  EXPECT_EQ(_hitlistsize, 2);
  EXPECT_EQ(rows.cells[0], (Strings{"1", "1", "=", "Two <b>", "Abba", "Gold", "5", "0 days"}));
  EXPECT_EQ(rows.cells[1], (Strings{"2", "-", "*", "One", "Abba", "Gold", "2", "1 days"}));
  EXPECT_EQ(rows.title.substr(0, 12), "Top 2 Songs ");
}

TEST_F(Display, LastPlayedTimeAndTheLog) {
  _check = 2;
  HitListItem items[2] = {{0, 1, -1}, {-1, 9, 0}};
  HitListRows rows = DisplayRows(items, 2, kListSongs, kFormats);
  ASSERT_EQ(rows.cells.size(), 1u);
  EXPECT_EQ(rows.cells[0][5], "13/11/23 11:13:20");
  _period = kPeriodAll;
  HitListItem log[3] = {{1, kNow - 10, -1}, {0, kNow - 20, -1}, {1, kNow - 30, -1}};
  rows = DisplayRows(log, 3, kListLog, kFormats);
  ASSERT_EQ(rows.cells.size(), 3u);
  EXPECT_EQ(rows.cells[2], (Strings{"3", "Two <b>", "Abba", "Gold", "14/11/23 23:12:50"}));
  EXPECT_EQ(rows.title, "Last 3 played ");
}

TEST_F(Display, PlaylistMarkIsTakenOffTheArray) {
  _filter = kFilterPlaylist;
  HitListItem items[3] = {{1, 4, -1}, {0, 1, -1}, {2, -3, -1}};
  HitListRows rows = DisplayRows(items, 3, kListSongs, kFormats);
  ASSERT_EQ(rows.cells.size(), 2u);
  EXPECT_EQ(rows.cells[0][4], "3");
  EXPECT_EQ(rows.cells[1][4], "0");
  EXPECT_EQ(items[0].hits, 3);
  EXPECT_EQ(items[1].hits, 0);
  EXPECT_EQ(items[2].hits, -3);
}

TEST_F(Display, RecordFileMissingShowsNothing) {
  HitListItem items[1] = {{0, 1, -1}};
  _hitlistsize = 42;
  EXPECT_FALSE(DisplayRows(items, 1, kListAlbums, kFormats).ok);
  EXPECT_EQ(_hitlistsize, 42);
  HitListItem beyond[1] = {{99, 1, -1}};  // a record that is not there reads as empty
  HitListRows rows = DisplayRows(beyond, 1, kListSongs, kFormats);
  ASSERT_EQ(rows.cells.size(), 1u);
  EXPECT_EQ(rows.cells[0][1], "");
}

TEST_F(Display, RecomputeCountsTheRowsShown) {
  test::WriteHits({{0, 0, 0, kNow - 100}, {0, 0, 0, kNow - 90}, {1, 0, 0, kNow - 80}});
  _type = kListSongs;
  _size = 100;
  _start = kNow - 604800;
  _end = kNow;
  HitListRows rows = RecomputeHitList(nullptr, kFormats);
  EXPECT_EQ(rows.cells.size(), 2u);
  EXPECT_EQ(_hitlistsize, 2);
  EXPECT_EQ(HitListCapacity(), 100);
  EXPECT_EQ(rows.title.substr(0, 12), "Top 2 Songs ");
  FreeHitList();
}

}  // namespace
}  // namespace spinox
