#include "hitlist/period.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text.h"
#include "hitlist/shown_list.h"
#include "hitlist/test_db.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

constexpr int32_t kNow = 1700000000;
constexpr int32_t kWeek = 604800;

TEST(Periods, BoundsOfTheSixChoices) {
  struct Case {
    int32_t period, now, start, end;
  } const cases[] = {
      {kPeriodDay, kNow, kNow - 86400, kNow},
      {kPeriodWeek, kNow, kNow - kWeek, kNow},
      {kPeriodMonth, kNow, kNow - 2592000, kNow},
      {kPeriodYear, kNow, kNow - 31536000, kNow},
      {kPeriodYear, INT32_MIN + 5, INT32_MIN, INT32_MIN + 5},
      {kPeriodAll, kNow, 0, kNow + 1},  // this second's play counts
      {kPeriodAll, INT32_MAX, 0, INT32_MAX},
      {kPeriodUser, kNow, 7, 3},  // the pickers' times, as given
  };
  for (const Case& c : cases) {
    PeriodBounds b = BoundsOfPeriod(c.period, c.now, 7, 3);
    EXPECT_EQ(b.start, c.start) << c.period;
    EXPECT_EQ(b.end, c.end) << c.period;
  }
}

TEST(Periods, ScrollArithmetic) {
  const int32_t first = kNow - 21 * kWeek / 2;  // ten and a half weeks before now
  struct Case {
    int32_t period, start, end, firstHit, lastHit, range, pos, last;
  } const cases[] = {
      {kPeriodWeek, kNow - kWeek, kNow, first, kNow - 100, 11, 11, kNow},
      {kPeriodUser, 1000, 2000, 500, 9000, 9, 2, 9000},  // keeps its own position
      {kPeriodUser, 1000, 1000, 500, 9000, 0, 0, 9000},
      {kPeriodUser, 10000, 11000, 500, 9000, 11, 11, 11000},  // later than every play
      {kPeriodUser, INT32_MIN, INT32_MIN + 1, INT32_MIN, INT32_MAX, INT32_MAX, 2, INT32_MAX},
  };
  for (const Case& c : cases) {
    ScrollArithmetic s = ComputeScroll(c.period, c.start, c.end, c.firstHit, c.lastHit);
    EXPECT_EQ(s.range, c.range) << c.start;
    EXPECT_EQ(s.pos, c.pos) << c.start;
    EXPECT_EQ(s.first, c.firstHit) << c.start;
    EXPECT_EQ(s.last, c.last) << c.start;
  }
}

// The list's period, scroll state and steps from the hit file's first and last play.
TEST(ShownPeriod, FollowsTheHitFile) {
  test::TempDatabase db;
  HitListSettings stored = {};
  ShownList list(stored);
  stored._period = kPeriodWeek;
  EXPECT_FALSE(UpdateScrollBar(list).enabled);  // no hit file
  test::WriteHits({});
  EXPECT_FALSE(UpdateScrollBar(list).enabled);
  test::WriteHits({{0, 0, 0, kNow - 21 * kWeek / 2}, {0, 0, 0, kNow - 5}});
  SetPeriodBounds(list, kNow, 0, 0);
  ScrollBarState bar = UpdateScrollBar(list);
  EXPECT_TRUE(bar.enabled);
  EXPECT_EQ(bar.range, 11);
  EXPECT_EQ(bar.pos, 11);
  EXPECT_EQ(list._pivoti, 11);
  EXPECT_EQ(list._first, kNow - 21 * kWeek / 2);
  EXPECT_EQ(list._last, kNow);
  ScrollPeriod(list, 9);  // two weeks back
  EXPECT_EQ(stored._start, kNow - 3 * kWeek);
  EXPECT_EQ(stored._end, kNow - 2 * kWeek);
  EXPECT_EQ(StepPeriod(INT32_MAX, 0, INT32_MAX, 0, INT32_MAX).end, INT32_MAX);
  // "All" has no scroll bar and reaches plays stamped ahead of the clock (it went back).
  stored._period = kPeriodAll;
  EXPECT_FALSE(UpdateScrollBar(list).enabled);
  test::WriteHits({{0, 0, 0, kNow - 5}, {0, 0, 0, kNow + 3600}});
  SetPeriodBounds(list, kNow, 0, 0);
  EXPECT_EQ(stored._start, 0);
  EXPECT_EQ(stored._end, kNow + 3601);
  EXPECT_EQ(list._pivot, kNow + 3601);
}

TEST(Periods, PreviousPositionTexts) {
  struct Case {
    int32_t row, lastPos;
    const char *prev, *chng;
  } const cases[] = {{4, -1, "-", "*"}, {4, 4, "5", "="}, {0, 2, "3", "+2"}, {9, 2, "3", "-7"}};
  for (const Case& c : cases) {
    EXPECT_EQ(PrevText(c.row, c.lastPos), c.prev) << c.row << " " << c.lastPos;
    EXPECT_EQ(ChngText(c.row, c.lastPos), c.chng) << c.row << " " << c.lastPos;
  }
}

TEST(Periods, FilterEntries) {
  const std::pair<const char*, int32_t> cases[] = {
      {"None", 0}, {"Album", 1}, {"Artist", 2}, {"Winamp Playlist", 3}, {"artist", 0}, {"", 0}};
  for (const auto& [text, filter] : cases) EXPECT_EQ(GetFilter(text), filter) << text;
}

std::vector<int32_t> redrawn;
void Redraw(int32_t row) {
  redrawn.push_back(row);
}

// Rows 0..2 on show (songs 7, 2, 9), and an item past them (song 4).
TEST(PlayingRow, IsTheRowOfTheListTypesKeyAmongTheRowsOnShow) {
  struct Case {
    int32_t type, rows, size;
    RecId song;
    int32_t expected;
  } const cases[] = {
      {kListSongs, 3, 5, 9, 2},
      {kListAlbums, 3, 5, 9, 1},            // album 2
      {kListArtists, 3, 5, 9, -1},          // artist 4's row is not on show
      {kListArtists, 4, 5, 9, 3},           //
      {kListSongs, 2, 5, 9, -1},            // song 9's row is not on show
      {kListSongs, 3, 2, 9, -1},            // nor past "Show Top"
      {kListSongs, 3, 5, kNoId, -1},        //
      {kListLog, 3, 5, 7, -1},              // the log marks no row
      {kListSongs, 1000, 1000, 12345, -1},  // rows and "Show Top" past the array
  };
  for (const Case& c : cases) {
    HitListSettings stored = {};
    stored._type = c.type;
    stored._size = c.size;
    ShownList list(stored);
    list._hitlist = {{7, 3, -1}, {2, 2, -1}, {9, 0, -1}, {4, 1, -1}};
    list._hitlistsize = c.rows;
    list.lvPlaying = 0;
    SongInfo song = {};
    song.songId = c.song;
    song.albumId = 2;
    song.artistId = 4;
    redrawn.clear();
    CurrentHitlistPos(list, song, Redraw);
    EXPECT_EQ(list.lvPlaying, c.expected) << c.type << " " << c.rows;
    std::vector<int32_t> marks = {0};  // the old mark goes, the new one comes
    if (c.expected >= 0) marks.push_back(c.expected);
    EXPECT_EQ(redrawn, marks) << c.type << " " << c.rows;
  }
}

TEST(ShownList, TheArrayIsMadeForShowTopWithinItsBounds) {
  struct Case {
    int32_t size;
    bool markEmpty;
    size_t items;
    int32_t firstId;
  } const cases[] = {
      {100, false, 100, 0},
      {100, true, 100, -1},
      {0, true, 1, -1},
      {-5, false, 1, 0},
      {INT32_MAX, false, size_t{kMaxListSize}, 0},
  };
  HitListSettings stored = {};
  ShownList list(stored);
  for (const Case& c : cases) {
    list._hitlist.assign(3, HitListItem{5, 5, 5});
    AllocateHitList(list, c.size, c.markEmpty);
    ASSERT_EQ(list._hitlist.size(), c.items) << c.size;
    EXPECT_EQ(list._hitlist[0].id, c.firstId) << c.size;
    EXPECT_EQ(list._hitlist.back().hits, 0) << c.size;
  }
}

TEST(ShownList, ItemsOfTheRowsOnShow) {
  HitListSettings stored = {};
  ShownList list(stored);
  list._hitlist = {{7, 3, -1}, {2, 2, -1}};
  list._hitlistsize = 3;  // more rows than the array holds
  EXPECT_EQ(ShownItem(list, 0), &list._hitlist[0]);
  EXPECT_EQ(ShownItem(list, 1), &list._hitlist[1]);
  for (int32_t row : {-1, 2, 3}) EXPECT_EQ(ShownItem(list, row), nullptr) << row;
  list._hitlistsize = 1;
  EXPECT_EQ(ShownItem(list, 1), nullptr);
}

// The period reaches the engine as the refresh's results show; the type and filter here.
TEST(ShownList, QueryOfTheSettingsAndFilter) {
  HitListSettings stored = {};
  stored._type = kListAlbums;
  ShownList list(stored);
  list._filter = kFilterArtist;
  SetField(list._theFilter, "abba");
  HitListQuery q = QueryOf(list, nullptr);
  EXPECT_EQ(q.type, kListAlbums);
  EXPECT_EQ(q.filterType, kFilterArtist);
  EXPECT_STREQ(q.filterValue, "abba");
  // Previous positions only for the "Prev" or "Chng" column, and never for "All".
  struct Case {
    int32_t period, pos, change, mode;
  } const cases[] = {{kPeriodWeek, 0, 0, kPosNone},
                     {kPeriodWeek, 1, 0, kPosCompare},
                     {kPeriodWeek, 0, 1, kPosCompare},
                     {kPeriodUser, 1, 1, kPosCompare},
                     {kPeriodAll, 1, 1, kPosNone}};
  for (const Case& c : cases) {
    stored._period = c.period;
    stored._pos = c.pos;
    stored._change = c.change;
    EXPECT_EQ(QueryOf(list, nullptr).mode, c.mode) << c.period << c.pos << c.change;
  }
}

}  // namespace
}  // namespace spinox
