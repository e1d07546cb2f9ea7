#include "hitlist/shown_list.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/text.h"

namespace spinox {
namespace {

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

TEST(ShownList, QueryOfTheSettingsAndFilter) {
  HitListSettings stored = {};
  stored._type = kListAlbums;
  stored._start = 100;
  stored._end = 200;
  ShownList list(stored);
  list._filter = kFilterArtist;
  SetField(list._theFilter, "abba");
  HitListQuery q = QueryOf(list, nullptr);
  EXPECT_EQ(q.type, kListAlbums);
  EXPECT_EQ(q.from, 100);
  EXPECT_EQ(q.to, 200);
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
