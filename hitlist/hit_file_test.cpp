// The log and the record-file filters against plain recomputations, on hit files around the
// sizes where the engine switches from the plays read at open to reads of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "db/paths.h"
#include "hitlist/engine.h"
#include "hitlist/test_db.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

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
