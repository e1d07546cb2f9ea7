#include "hitlist/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "db/paths.h"
#include "hitlist/test_db.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

HitRecord Hit(uint32_t song, int32_t time, uint32_t artist = 0, uint32_t album = 0) {
  return HitRecord{song, artist, album, time};
}

HitListQuery Query(int32_t type, int32_t from, int32_t to, int32_t filterType = kFilterNone,
                   const char* value = "", int32_t mode = kPosNone) {
  return HitListQuery{type, from, to, filterType, value, mode};
}

using test::List;
using test::Ranked;

// The plays of each record id, "x" for a record the list does not hold.
std::string PlaysById(const std::vector<HitListItem>& items, size_t records) {
  std::vector<std::string> plays(records, "x");
  for (const HitListItem& item : items) {
    if (item.id == -1) break;
    if (item.id >= 0 && static_cast<size_t>(item.id) < records)
      plays[static_cast<size_t>(item.id)] = std::to_string(item.hits);
  }
  std::string s;
  for (const std::string& p : plays) s += (s.empty() ? "" : " ") + p;
  return s;
}

class Engine : public ::testing::Test {
 protected:
  test::TempDatabase db_;
};

TEST_F(Engine, FindTimeAnswersTheFirstAtOrAfterOrOneEarly) {
  EXPECT_EQ(FindTime(100), 0);  // no hit file
  test::WriteHits({});
  EXPECT_EQ(FindTime(100), 0);
  test::WriteHits({Hit(0, 10), Hit(0, 20), Hit(0, 30), Hit(0, 40)});
  const int32_t cases[][2] = {{5, 0}, {10, 0}, {25, 1}, {30, 1}, {40, 2}, {45, 4}};
  for (const auto& c : cases) EXPECT_EQ(FindTime(c[0]), c[1]) << c[0];
}

// Every period over runs of equal times, and random ones over a file of many read chunks.
TEST_F(Engine, PeriodsCountFromTheirStartUpToTheirEnd) {
  test::WriteSongs({{"a", "x", "p"}});
  auto check = [](const std::vector<HitRecord>& hits, int32_t from, int32_t to) {
    int32_t expected = 0;
    for (const HitRecord& h : hits) expected += h.time >= from && h.time < to;
    return List(Query(kListSongs, from, to), 1)[0].hits == expected;
  };
  std::vector<HitRecord> hits;
  for (int32_t t : {5, 20, 20, 20, 20, 20, 30, 30, 30, 50}) hits.push_back(Hit(0, t));
  test::WriteHits(hits);
  for (int32_t from = 0; from <= 55; ++from)
    for (int32_t to = from - 1; to <= 55; ++to) ASSERT_TRUE(check(hits, from, to)) << from << to;
  hits.clear();
  for (int32_t i = 0; i < 20000; ++i) hits.push_back(Hit(0, 1000 + i / 7 * 3));
  test::WriteHits(hits);
  uint32_t seed = 12345;
  for (int i = 0; i < 300; ++i) {
    seed = seed * 1103515245 + 12345;
    int32_t from = 990 + static_cast<int32_t>(seed % 8600);
    seed = seed * 1103515245 + 12345;
    int32_t to = from + static_cast<int32_t>(seed % 3000) - 100;
    ASSERT_TRUE(check(hits, from, to)) << from << ".." << to;
  }
}

// Four songs whose album and artist ids differ, one stored before its artist and album records
// (no ids), and plays in two periods: [100, 200) ranks songs 1, 2, 0, 3; [200, 300) ranks 0, 3,
// 1. Plays lie on both bounds of each period, and ids the files do not hold are played too.
class Wide : public Engine {
 protected:
  void SetUp() override {
    test::WriteSongs({{"a", "Abba", "Gold", 1, 0},
                      {"b", "Queen", "Gold", 0, 1},
                      {"c", "ABBA", "Arrival", kNoId, kNoId},
                      {"d", "Queen", "Jazz", 0, 2}});
    test::WriteAlbums({{"Gold", "Abba"}, {"Gold", "Queen"}, {"Jazz", "Queen"}});
    test::WriteArtists({"Queen", "Abba"});
    const uint32_t artist[] = {1, 0, kNoId, 0}, album[] = {0, 1, kNoId, 2};
    std::vector<HitRecord> hits = {Hit(kNoId, 50, kNoId, kNoId), Hit(4, 51, 2, 3),
                                   Hit(0x7FFFFFFF, 52, 1000000, 1000000), Hit(1000000, 53, 5, 7)};
    auto plays = [&](uint32_t song, int count, int32_t t) {
      for (int i = 0; i < count; ++i) hits.push_back(Hit(song, t, artist[song], album[song]));
    };
    plays(1, 3, 100), plays(1, 2, 150), plays(2, 4, 151), plays(0, 3, 152), plays(3, 1, 199);
    plays(0, 6, 200), plays(3, 5, 251);
    hits.push_back(Hit(kNoId, 298, kNoId, kNoId));  // a removed song's play
    plays(1, 2, 299), plays(2, 1, 300);
    test::WriteHits(hits);
  }
};

TEST_F(Wide, RankedLists) {
  struct Case {
    int32_t type, from, to, mode, n;
    const char* expected;
    int32_t count;
  } const cases[] = {
      {kListSongs, 200, 300, kPosCompare, 4, "0:6:2 3:5:3 1:2:0 2:0:1", 4},
      {kListSongs, 200, 300, kPosCompare, 3, "0:6:2 3:5:-1 1:2:0", 3},  // song 3 was 4th
      {kListSongs, 200, 300, kPosCompare, 1, "0:6:-1", 1},
      {kListSongs, 200, 300, kPosNone, 6, "0:6 3:5 1:2 2:0 - -", 4},
      {kListSongs, 100, 200, kPosNone, 4, "1:5 2:4 0:3 3:1", 4},
      {kListSongs, 299, 1000, kPosNone, 2, "1:2 2:1", 2},  // fewer plays than records
      {kListAlbums, 0, 1000, kPosNone, 4, "0:9 1:7 2:6 -", 3},
      {kListArtists, 0, 1000, kPosNone, 3, "0:13 1:9 -", 2},
      {kListLog, 0, 1000, kPosNone, 4, "2:300 1:299 1:299 3:251", 4},  // the removed play skipped
      {kListLog, 150, 200, kPosNone, 2, "3:199 0:152", 2},
  };
  for (const Case& c : cases) {
    int32_t count = -1;
    std::vector<HitListItem> items = List(Query(c.type, c.from, c.to, 0, "", c.mode), c.n, &count);
    EXPECT_EQ(Ranked(items, c.mode == kPosCompare), c.expected) << c.type << " " << c.from;
    EXPECT_EQ(count, c.count) << c.type << " " << c.from;
  }
}

TEST_F(Wide, Filters) {
  struct Case {
    int32_t type, filter;
    const char* value;
    int32_t from, to;
    const char* expected;  // plays by id (top lists) or the latest plays (the log)
  } const cases[] = {
      {kListSongs, kFilterNone, "", 0, 1000, "9 7 5 6"},
      {kListSongs, kFilterNone, "", 0, 10, "0 0 0 0"},  // every record, also without plays
      {kListSongs, kFilterAlbum, "Abba - Gold", 0, 1000, "9 0 0 0"},
      {kListSongs, kFilterAlbum, "queen - gold", 0, 1000, "0 7 0 0"},
      {kListSongs, kFilterAlbum, "abba - nothing", 0, 1000, "9 7 5 6"},  // names nothing
      // The artist filter matches names, so the song stored without an artist id is kept.
      {kListSongs, kFilterArtist, "ABBA", 0, 1000, "9 0 5 0"},
      {kListSongs, kFilterArtist, "nobody", 0, 1000, "9 7 5 6"},
      {kListAlbums, kFilterArtist, "queen", 0, 1000, "0 7 6"},
      {kListLog, kFilterArtist, "Queen", 0, 1000, "1:299 1:299 3:251 3:251 3:251"},
      {kListLog, kFilterAlbum, "Queen - Gold", 100, 299, "1:150 1:150 1:100 1:100 1:100"},
      {kListLog, kFilterAlbum, "nobody - nothing", 0, 1000, "- - - - -"},
  };
  const size_t records[] = {4, 3, 2};
  for (const Case& c : cases) {
    std::vector<HitListItem> items = List(Query(c.type, c.from, c.to, c.filter, c.value), 5);
    std::string got = c.type == kListLog ? Ranked(items, false) : PlaysById(items, records[c.type]);
    EXPECT_EQ(got, c.expected) << c.type << " " << c.value;
  }
}

TEST_F(Engine, MissingFilesGiveNothing) {
  test::WriteHits({Hit(0, 10)});
  std::vector<HitListItem> items = List(Query(kListAlbums, 0, 100), 3);  // no album file
  EXPECT_EQ(Ranked(items, true), "0:0:0 0:0:0 0:0:0") << "the items are left as they were";
  test::WriteSongs({{"a", "x", "p"}});
  std::remove(FullPath(kHitFile).c_str());
  for (int32_t type : {kListSongs, kListLog}) {
    int32_t count = -1;
    List(Query(type, 0, 100), 3, &count);
    EXPECT_EQ(count, 0) << type;
  }
}

// The log and the record-file filters against plain recomputations, on hit files around the
// sizes where the engine switches from the plays read at open to reads of the file.
struct LogCase {
  int32_t from, to, n;
  int32_t filterType;
  const char* filter;
};

// The log as its definition reads: the plays with from <= time < to, latest first, removed
// songs skipped, the filter's id compared, at most n.
std::vector<HitListItem> ExpectedLog(const std::vector<HitRecord>& hits, const LogCase& c,
                                     uint32_t filterId) {
  std::vector<HitListItem> out;
  for (size_t i = hits.size(); i-- > 0 && static_cast<int32_t>(out.size()) < c.n;) {
    const HitRecord& h = hits[i];
    if (h.time < c.from || h.time >= c.to || h.songId == kNoId) continue;
    if (c.filterType == kFilterArtist && h.artistId != filterId) continue;
    out.push_back(HitListItem{static_cast<int32_t>(h.songId), h.time, -1});
  }
  return out;
}

// Times 1000 + i / 3 (runs of three), every 700th play by artist 1, every 97th removed.
std::vector<HitRecord> MakeHits(int count) {
  std::vector<HitRecord> hits;
  for (int i = 0; i < count; ++i) {
    uint32_t song = i % 97 == 5 ? kNoId : static_cast<uint32_t>(i % 3);
    hits.push_back(HitRecord{song, i % 700 == 3 ? 1u : 0u, 0, 1000 + i / 3});
  }
  return hits;
}

class HitFileLog : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteSongs({{"a", "a0", "p"}, {"b", "a0", "p"}, {"c", "a1", "p"}});
    test::WriteArtists({"a0", "a1"});
  }
  void WriteWithTornTail(const std::vector<HitRecord>& hits, size_t extra) {
    test::WriteHits(hits);
    File f(FullPath(kHitFile), "ab");
    std::vector<unsigned char> torn(extra, 0x7F);
    if (extra) f.Write(torn.data(), extra);
  }
  test::TempDatabase db_;
};

TEST_F(HitFileLog, MatchesTheDefinitionAroundTheTailSizes) {
  for (int count : {0, 1, 15, 100, 2047, 2048, 2049, 9000}) {
    for (size_t extra : {0u, 1u, 15u}) {
      std::vector<HitRecord> hits = MakeHits(count);
      WriteWithTornTail(hits, extra);
      int32_t last = 1000 + count / 3;
      const LogCase cases[] = {
          {0, last + 1, 100, kFilterNone, ""},         // all: the start is never searched for
          {0, last + 1, 3000, kFilterNone, ""},        // more than the plays read at open
          {1100, last + 1, 100, kFilterNone, ""},      // starts inside the latest plays
          {1005, 1400, 50, kFilterNone, ""},           // ends before the latest plays
          {1010, last - 5, 5000, kFilterNone, ""},     // walks past them to its start
          {0, last + 1, 4, kFilterArtist, "A1"},       // a rare artist: reads back in chunks
          {1200, last + 1, 2, kFilterArtist, "a1"},    // ... up to the period's start
          {last, last, 10, kFilterNone, ""},           // empty
          {last + 1, last + 100, 10, kFilterNone, ""}  // after the last play
      };
      for (const LogCase& c : cases) {
        std::vector<HitListItem> items(static_cast<size_t>(c.n), HitListItem{7, 7, 7});
        HitListQuery q{kListLog, c.from, c.to, c.filterType, c.filter};
        int32_t got = GetHitList(q, items.data(), c.n);
        std::vector<HitListItem> want = ExpectedLog(hits, c, 1);
        SCOPED_TRACE(testing::Message() << count << " plays + " << extra << " bytes, [" << c.from
                                        << ", " << c.to << ") n " << c.n << " " << c.filter);
        ASSERT_EQ(got, static_cast<int32_t>(want.size()));
        for (size_t i = 0; i < want.size(); ++i) {
          ASSERT_EQ(items[i].id, want[i].id) << i;
          ASSERT_EQ(items[i].hits, want[i].hits) << i;
          ASSERT_EQ(items[i].lastPos, -1) << i;
        }
        if (want.size() < items.size()) {
          EXPECT_EQ(items[want.size()].id, -1);
        }
      }
    }
  }
}

// The album and artist filters clear the songs they do not keep. Songs after the last played
// one need no clearing; songs played in the period but stored later in the file still do.
TEST(RecordFilters, KeepOnlyTheFilteredSongsWherePlayedSongsEndEarly) {
  test::TempDatabase db;
  std::vector<test::SongRow> songs;
  for (uint32_t i = 0; i < 40; ++i) {
    std::string name = "s" + std::to_string(i);
    songs.push_back({name, i % 2 ? "odd" : "even", "al", 1 - i % 2, i % 2});
  }
  test::WriteSongs(songs);
  test::WriteArtists({"odd", "even"});  // artist ids are not the album ids
  test::WriteAlbums({{"al", "even"}, {"al", "odd"}});
  std::vector<HitRecord> hits;
  for (int32_t t = 0; t < 30; ++t) {
    uint32_t song = static_cast<uint32_t>(t % 7);  // songs 0..6 only
    for (int32_t k = 0; k <= static_cast<int32_t>(song); ++k)
      hits.push_back(HitRecord{song, 0, 0, 100 + t});
  }
  hits.push_back(HitRecord{33, 0, 0, 200});  // one play of a late, odd song, later in time
  test::WriteHits(hits);
  for (int32_t filterType : {kFilterAlbum, kFilterArtist}) {
    for (int32_t to : {150, 201}) {  // without and with the late song's play
      HitListQuery q{kListSongs, 0, to, filterType,
                     filterType == kFilterAlbum ? "odd - al" : "odd"};
      std::vector<HitListItem> items(40);
      int32_t c = GetHitList(q, items.data(), 40);
      ASSERT_EQ(c, 40);
      std::vector<int32_t> plays(40, 0);
      for (const HitListItem& item : items) plays[static_cast<size_t>(item.id)] = item.hits;
      for (int32_t i = 0; i < 40; ++i) {
        int32_t want = 0;
        for (const HitRecord& h : hits)
          if (h.songId == static_cast<uint32_t>(i) && h.time < to && i % 2 == 1) ++want;
        EXPECT_EQ(plays[static_cast<size_t>(i)], want) << filterType << " " << to << " " << i;
      }
      EXPECT_EQ(items[0].id, 5);  // the most played odd song
    }
  }
}

}  // namespace
}  // namespace spinox
