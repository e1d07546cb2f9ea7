#include "hitlist/period.h"

#include <gtest/gtest.h>

#include <vector>

#include "hitlist/hitlist.h"
#include "hitlist/list_memory.h"
#include "hitlist/test_db.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

constexpr int32_t kNow = 1700000000;

TEST(Periods, BoundsOfTheSixChoices) {
  EXPECT_EQ(BoundsOfPeriod(kPeriodDay, kNow, 1, 2).start, kNow - 86400);
  EXPECT_EQ(BoundsOfPeriod(kPeriodWeek, kNow, 1, 2).start, kNow - 604800);
  EXPECT_EQ(BoundsOfPeriod(kPeriodMonth, kNow, 1, 2).start, kNow - 2592000);
  EXPECT_EQ(BoundsOfPeriod(kPeriodYear, kNow, 1, 2).start, kNow - 31536000);
  EXPECT_EQ(BoundsOfPeriod(kPeriodYear, kNow, 1, 2).end, kNow);
  EXPECT_EQ(BoundsOfPeriod(kPeriodAll, kNow, 1, 2).start, 0);
  EXPECT_EQ(BoundsOfPeriod(kPeriodAll, kNow, 1, 2).end, kNow + 1);  // this second's play counts
  EXPECT_EQ(BoundsOfPeriod(kPeriodAll, INT32_MAX, 1, 2).end, INT32_MAX);
  EXPECT_EQ(BoundsOfPeriod(kPeriodUser, kNow, 7, 3).start, 7);
  EXPECT_EQ(BoundsOfPeriod(kPeriodUser, kNow, 7, 3).end, 3);
  EXPECT_EQ(BoundsOfPeriod(kPeriodYear, INT32_MIN + 5, 0, 0).start, INT32_MIN);
}

TEST(Periods, WeekTenAndAHalfWeeksAfterTheFirstPlay) {
  int32_t first = kNow - 21 * 604800 / 2;
  ScrollArithmetic s = ComputeScroll(kPeriodWeek, kNow - 604800, kNow, first, kNow - 100);
  EXPECT_EQ(s.range, 11);
  EXPECT_EQ(s.pos, 11);
  EXPECT_EQ(s.first, first);
  EXPECT_EQ(s.last, kNow);
  PeriodBounds back = StepPeriod(10, s.pos, kNow, kNow - 604800, kNow);
  EXPECT_EQ(back.end, kNow - 604800);
  EXPECT_EQ(back.start, kNow - 2 * 604800);
  PeriodBounds same = StepPeriod(11, 11, kNow, back.start, back.end);
  EXPECT_EQ(same.end, kNow);
  PeriodBounds origin = StepPeriod(0, 11, kNow, kNow - 604800, kNow);
  EXPECT_LT(origin.end, first);  // position 0 lies before the first play
}

TEST(Periods, UserDefinedKeepsItsOwnPosition) {
  ScrollArithmetic s = ComputeScroll(kPeriodUser, 1000, 2000, 500, 9000);
  EXPECT_EQ(s.range, 9);  // (9000 - 500) / 1000 + 1
  EXPECT_EQ(s.pos, 2);    // (2000 - 500) / 1000 + 1
  s = ComputeScroll(kPeriodUser, 1000, 1000, 500, 9000);
  EXPECT_EQ(s.range, 0);
  EXPECT_EQ(s.pos, 0);
  // A period later than every play: last is its end.
  s = ComputeScroll(kPeriodUser, 10000, 11000, 500, 9000);
  EXPECT_EQ(s.last, 11000);
  EXPECT_EQ(s.range, 11);
  // Extreme times do not overflow.
  s = ComputeScroll(kPeriodUser, INT32_MIN, INT32_MIN + 1, INT32_MIN, INT32_MAX);
  EXPECT_EQ(s.range, INT32_MAX);
  PeriodBounds far = StepPeriod(INT32_MAX, 0, INT32_MAX, 0, INT32_MAX);
  EXPECT_EQ(far.end, INT32_MAX);
}

class ScrollBar : public ::testing::Test {
 protected:
  void SetUp() override {
    _period = kPeriodWeek;
    _start = kNow - 604800;
    _end = kNow;
    _first = _last = _pivoti = 0;
  }
  test::TempDatabase db_;
};

TEST_F(ScrollBar, ReadsTheHitFile) {
  test::WriteHits({{0, 0, 0, kNow - 21 * 604800 / 2}, {0, 0, 0, kNow - 5}});
  ScrollBarState bar = UpdateScrollBar();
  EXPECT_TRUE(bar.enabled);
  EXPECT_EQ(bar.range, 11);
  EXPECT_EQ(bar.pos, 11);
  EXPECT_EQ(_pivoti, 11);
  EXPECT_EQ(_first, kNow - 21 * 604800 / 2);
  EXPECT_EQ(_last, kNow);
}

TEST_F(ScrollBar, DisabledForAllAndWithoutPlays) {
  EXPECT_FALSE(UpdateScrollBar().enabled);  // no hit file
  test::WriteHits({});
  EXPECT_FALSE(UpdateScrollBar().enabled);
  test::WriteHits({{0, 0, 0, kNow - 5}});
  _period = kPeriodAll;
  ScrollBarState bar = UpdateScrollBar();
  EXPECT_FALSE(bar.enabled);
  EXPECT_EQ(bar.range, 0);
}

TEST_F(ScrollBar, AllReachesPlaysStampedAheadOfTheClock) {
  _period = kPeriodAll;
  SetPeriodBounds(kNow, 0, 0);
  EXPECT_EQ(_end, kNow + 1);                                       // no plays: up to this second
  test::WriteHits({{0, 0, 0, kNow - 5}, {0, 0, 0, kNow + 3600}});  // the clock went back
  SetPeriodBounds(kNow, 0, 0);
  EXPECT_EQ(_start, 0);
  EXPECT_EQ(_end, kNow + 3601);
  _period = kPeriodDay;
  SetPeriodBounds(kNow, 0, 0);
  EXPECT_EQ(_end, kNow);
}

TEST(Periods, PreviousPositionTexts) {
  EXPECT_EQ(PrevText(4, -1), "-");
  EXPECT_EQ(ChngText(4, -1), "*");
  EXPECT_EQ(PrevText(4, 4), "5");
  EXPECT_EQ(ChngText(4, 4), "=");
  EXPECT_EQ(PrevText(0, 2), "3");
  EXPECT_EQ(ChngText(0, 2), "+2");
  EXPECT_EQ(PrevText(9, 2), "3");
  EXPECT_EQ(ChngText(9, 2), "-7");
}

TEST(Periods, FilterEntries) {
  EXPECT_EQ(GetFilter("None"), 0);
  EXPECT_EQ(GetFilter("Album"), 1);
  EXPECT_EQ(GetFilter("Artist"), 2);
  EXPECT_EQ(GetFilter("Winamp Playlist"), 3);
  EXPECT_EQ(GetFilter("artist"), 0);
  EXPECT_EQ(GetFilter(""), 0);
}

std::vector<int32_t> redrawn;
void Redraw(int32_t row) {
  redrawn.push_back(row);
}

class PlayingRow : public ::testing::Test {
 protected:
  void SetUp() override {
    AllocateHitList(5, true);
    _size = 5;
    _hitlistsize = 3;
    _type = kListSongs;
    const HitListItem items[] = {{7, 3, -1}, {2, 2, -1}, {9, 0, -1}, {-1, 0, 0}, {4, 1, -1}};
    for (int i = 0; i < 5; ++i) _hitlist[i] = items[i];
    lvPlaying = -1;
    redrawn.clear();
    song_ = SongInfo{};
    song_.songId = 9;
    song_.albumId = 2;
    song_.artistId = 4;
  }
  void TearDown() override {
    FreeHitList();
    lvPlaying = -1;
    _hitlistsize = 0;
  }
  SongInfo song_;
};

TEST_F(PlayingRow, FindsTheKeyOfTheListType) {
  CurrentHitlistPos(song_, Redraw);
  EXPECT_EQ(lvPlaying, 2);
  _hitlistsize = 2;  // the row of song 9 is not on show (no plays in the period): no position
  CurrentHitlistPos(song_, Redraw);
  EXPECT_EQ(lvPlaying, -1);
  _hitlistsize = 3;
  CurrentHitlistPos(song_, Redraw);
  _type = kListAlbums;
  CurrentHitlistPos(song_, Redraw);
  EXPECT_EQ(lvPlaying, 1);
  EXPECT_EQ(redrawn, (std::vector<int32_t>{2, 2, 2, 2, 1}));
  _type = kListArtists;  // id 4 stands after the end of the list
  CurrentHitlistPos(song_, Redraw);
  EXPECT_EQ(lvPlaying, -1);
}

TEST_F(PlayingRow, UnknownTrackAndLogClearTheMark) {
  CurrentHitlistPos(song_, Redraw);
  song_.songId = kNoId;
  CurrentHitlistPos(song_, Redraw);
  EXPECT_EQ(lvPlaying, -1);
  EXPECT_EQ(redrawn, (std::vector<int32_t>{2, 2}));
  song_.songId = 7;
  _type = kListLog;
  CurrentHitlistPos(song_, nullptr);
  EXPECT_EQ(lvPlaying, -1);
}

TEST_F(PlayingRow, NeverReadsPastTheArray) {
  _size = _hitlistsize = 1000;  // "Show Top" raised after the list was made
  song_.songId = 12345;
  _hitlist[3].id = 8;
  CurrentHitlistPos(song_, Redraw);
  EXPECT_EQ(lvPlaying, -1);
}

}  // namespace
}  // namespace spinox
