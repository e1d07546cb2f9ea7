#include "hitlist/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/clock.h"
#include "db/edit.h"
#include "db/paths.h"
#include "db/play.h"
#include "hitlist/test_db.h"
#include "tags/track_tag.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::SongRow;

HitRecord Hit(uint32_t song, int32_t time, uint32_t artist = 0, uint32_t album = 0) {
  return HitRecord{song, artist, album, time};
}

std::vector<HitListItem> List(int32_t n, int32_t type, int32_t from, int32_t to,
                              int32_t filterType = kFilterNone, const char* filter = "",
                              int32_t mode = kPosNone, int32_t* count = nullptr) {
  std::vector<HitListItem> items(static_cast<size_t>(n), HitListItem{0, 0, 0});
  char value[kFilterSize] = {};
  std::strncpy(value, filter, sizeof value - 1);
  int32_t c = GetHitList(items.data(), n, type, from, to, filterType, value, mode, nullptr);
  if (count) *count = c;
  return items;
}

// The plays of each song id in a computed list (rows with id -1 end it).
std::vector<int32_t> PlaysById(const std::vector<HitListItem>& items, size_t songs) {
  std::vector<int32_t> plays(songs, -100);
  for (const HitListItem& item : items) {
    if (item.id == -1) break;
    if (item.id >= 0 && static_cast<size_t>(item.id) < songs) plays[item.id] = item.hits;
  }
  return plays;
}

class Engine : public ::testing::Test {
 protected:
  void FourSongs() {
    test::WriteSongs({{"a", "x", "p"}, {"b", "x", "p"}, {"c", "y", "q"}, {"d", "y", "q"}});
  }
  test::TempDatabase db_;
};

TEST_F(Engine, FindTimeAnswersTheFirstAtOrAfterOrOneEarly) {
  test::WriteHits({Hit(0, 10), Hit(0, 20), Hit(0, 30), Hit(0, 40)});
  EXPECT_EQ(FindTime(5), 0);
  EXPECT_EQ(FindTime(10), 0);
  EXPECT_EQ(FindTime(25), 1);
  EXPECT_EQ(FindTime(30), 1);
  EXPECT_EQ(FindTime(40), 2);
  EXPECT_EQ(FindTime(45), 4);
}

TEST_F(Engine, FindTimeWithoutPlays) {
  EXPECT_EQ(FindTime(100), 0);  // no hit file
  test::WriteHits({});
  EXPECT_EQ(FindTime(100), 0);
}

TEST_F(Engine, RunsOfEqualTimesAreCountedWhole) {
  test::WriteSongs({{"a", "x", "p"}});
  std::vector<HitRecord> hits;
  for (int32_t t : {5, 20, 20, 20, 20, 20, 30, 30, 30, 50}) hits.push_back(Hit(0, t));
  test::WriteHits(hits);
  for (int32_t from = 0; from <= 55; ++from) {
    for (int32_t to = from; to <= 55; ++to) {
      int32_t expected = 0;
      for (const HitRecord& h : hits) expected += h.time >= from && h.time < to;
      ASSERT_EQ(List(1, kListSongs, from, to)[0].hits, expected) << from << ".." << to;
    }
  }
  EXPECT_EQ(List(1, kListSongs, 50, 5)[0].hits, 0);  // a reversed period holds nothing
}

TEST_F(Engine, BoundsInALargeFileWithRunsOfEqualTimes) {
  test::WriteSongs({{"a", "x", "p"}});
  std::vector<HitRecord> hits;
  for (int32_t i = 0; i < 20000; ++i) hits.push_back(Hit(0, 1000 + i / 7 * 3));
  test::WriteHits(hits);
  auto expected = [&](int32_t from, int32_t to) {
    int32_t n = 0;
    for (const HitRecord& h : hits) n += h.time >= from && h.time < to;
    return n;
  };
  uint32_t seed = 12345;
  for (int i = 0; i < 300; ++i) {
    seed = seed * 1103515245 + 12345;
    int32_t from = 990 + static_cast<int32_t>(seed % 8600);
    seed = seed * 1103515245 + 12345;
    int32_t to = from + static_cast<int32_t>(seed % 3000) - 100;
    ASSERT_EQ(List(1, kListSongs, from, to)[0].hits, expected(from, to)) << from << ".." << to;
  }
}

TEST_F(Engine, TopListIsOrderedAndCountsEveryRecord) {
  test::WriteSongs({{"a", "x", "p"}, {"b", "x", "p"}, {"c", "x", "p"}});
  std::vector<HitRecord> hits;
  for (uint32_t song : {0u, 0u, 0u, 0u, 0u, 1u, 1u, 2u, 2u, 2u, 2u, 2u})
    hits.push_back(Hit(song, 100));
  test::WriteHits(hits);
  int32_t c = 0;
  std::vector<HitListItem> two = List(2, kListSongs, 0, 200, kFilterNone, "", kPosNone, &c);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(two[0].hits, 5);
  EXPECT_EQ(two[1].hits, 5);
  EXPECT_NE(two[0].id, two[1].id);
  EXPECT_NE(two[0].id, 1);
  EXPECT_NE(two[1].id, 1);
  std::vector<HitListItem> ten = List(10, kListSongs, 0, 200, kFilterNone, "", kPosNone, &c);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(ten[2].id, 1);
  EXPECT_EQ(ten[2].hits, 2);
  for (int i = 3; i < 10; ++i) EXPECT_EQ(ten[i].id, -1) << i;
}

TEST_F(Engine, EmptyPeriodKeepsEveryRecordWithoutPlays) {
  FourSongs();
  test::WriteHits({});
  int32_t c = 0;
  std::vector<HitListItem> items = List(10, kListSongs, 0, 100, kFilterNone, "", kPosNone, &c);
  EXPECT_EQ(c, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(items[i].hits, 0);
}

TEST_F(Engine, MissingFilesGiveNothingAndLeaveTheItems) {
  test::WriteHits({Hit(0, 10)});
  std::vector<HitListItem> items = List(3, kListAlbums, 0, 100);  // no album file
  EXPECT_EQ(items[0].id, 0);
  EXPECT_EQ(items[0].hits, 0);
  EXPECT_EQ(items[0].lastPos, 0);
  FourSongs();
  std::remove(FullPath(kHitFile).c_str());
  int32_t c = -1;
  List(3, kListSongs, 0, 100, kFilterNone, "", kPosNone, &c);
  EXPECT_EQ(c, 0);
  c = -1;
  List(3, kListLog, 0, 100, kFilterNone, "", kPosNone, &c);
  EXPECT_EQ(c, 0);
}

TEST_F(Engine, RemovedAndForeignIdsAreNeverCounted) {
  FourSongs();
  test::WriteHits({Hit(kNoId, 10, kNoId, kNoId), Hit(3, 11), Hit(4, 12), Hit(0x7FFFFFFF, 13),
                   Hit(1000000, 14), Hit(3, 15)});
  std::vector<int32_t> plays = PlaysById(List(4, kListSongs, 0, 100), 4);
  EXPECT_EQ(plays, (std::vector<int32_t>{0, 0, 0, 2}));
}

TEST_F(Engine, AlbumsAndArtistsCountTheirOwnFields) {
  FourSongs();
  test::WriteAlbums({{"p", "x"}, {"q", "y"}});
  test::WriteArtists({"x", "y", "z"});
  test::WriteHits({Hit(0, 10, 0, 0), Hit(1, 11, 0, 0), Hit(2, 12, 1, 1), Hit(0, 13, 0, 0)});
  EXPECT_EQ(PlaysById(List(2, kListAlbums, 0, 100), 2), (std::vector<int32_t>{3, 1}));
  int32_t c = 0;
  std::vector<HitListItem> artists = List(5, kListArtists, 0, 100, 0, "", kPosNone, &c);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(PlaysById(artists, 3), (std::vector<int32_t>{3, 1, 0}));
}

TEST_F(Engine, LogListsTheLatestPlaysFirst) {
  FourSongs();
  test::WriteArtists({"x", "y"});
  test::WriteAlbums({{"p", "x"}, {"q", "y"}});
  std::vector<HitRecord> hits;
  for (int32_t i = 0; i < 20; ++i) {
    uint32_t song = static_cast<uint32_t>(i % 4);
    hits.push_back(Hit(song, 100 + i, song / 2, song / 2));
  }
  hits[19].songId = kNoId;  // removed
  test::WriteHits(hits);
  int32_t c = 0;
  std::vector<HitListItem> log = List(5, kListLog, 0, 1000, kFilterNone, "", kPosNone, &c);
  ASSERT_EQ(c, 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(log[i].hits, 118 - i);
    EXPECT_EQ(log[i].id, (18 - i) % 4);
    EXPECT_EQ(log[i].lastPos, -1);
  }
  log = List(5, kListLog, 0, 1000, kFilterArtist, "Y", kPosNone, &c);
  ASSERT_EQ(c, 5);
  for (int i = 0; i < 5; ++i) EXPECT_GE(log[i].id, 2) << i;
  EXPECT_EQ(log[0].hits, 118);
  log = List(50, kListLog, 105, 110, kFilterAlbum, "x - p", kPosNone, &c);
  EXPECT_EQ(c, 3);  // 109 (song 1), 108 (song 0) and 105 (song 1)
  EXPECT_EQ(log[0].hits, 109);
  EXPECT_EQ(log[2].hits, 105);
  EXPECT_EQ(log[3].id, -1);
  List(5, kListLog, 0, 1000, kFilterAlbum, "nobody - nothing", kPosNone, &c);
  EXPECT_EQ(c, 0);
}

TEST_F(Engine, LogAcrossManyChunks) {
  test::WriteSongs({{"a", "x", "p"}});
  std::vector<HitRecord> hits;
  for (int32_t i = 0; i < 30000; ++i) hits.push_back(Hit(0, i));
  test::WriteHits(hits);
  int32_t c = 0;
  std::vector<HitListItem> log = List(25000, kListLog, 1000, 29000, 0, "", kPosNone, &c);
  ASSERT_EQ(c, 25000);
  EXPECT_EQ(log[0].hits, 28999);
  EXPECT_EQ(log[24999].hits, 4000);
  EXPECT_EQ(List(1, kListSongs, 1000, 29000)[0].hits, 28000);
}

TEST_F(Engine, FiltersOnTopLists) {
  test::WriteSongs({{"a", "Abba", "gold", 0, 0},
                    {"b", "queen", "gold", 1, 1},
                    {"c", "ABBA", "arrival", kNoId, kNoId}});
  test::WriteAlbums({{"gold", "abba"}, {"gold", "queen"}});
  test::WriteArtists({"abba", "queen"});
  test::WriteHits({Hit(0, 10, 0, 0), Hit(1, 11, 1, 1), Hit(2, 12, 0, kNoId), Hit(2, 13, 0, kNoId)});
  EXPECT_EQ(PlaysById(List(3, kListSongs, 0, 100, kFilterAlbum, "Abba - Gold"), 3),
            (std::vector<int32_t>{1, 0, 0}));
  // An album that is not in the database filters nothing.
  EXPECT_EQ(PlaysById(List(3, kListSongs, 0, 100, kFilterAlbum, "abba - nothing"), 3),
            (std::vector<int32_t>{1, 1, 2}));
  // The artist filter matches names, so the song stored without an artist id is kept.
  char value[kFilterSize] = "ABBA";
  std::vector<HitListItem> items(3);
  GetHitList(items.data(), 3, kListSongs, 0, 100, kFilterArtist, value, kPosNone, nullptr);
  EXPECT_STREQ(value, "ABBA") << "the filter keeps the name as chosen";
  EXPECT_EQ(PlaysById(items, 3), (std::vector<int32_t>{1, 0, 2}));
  EXPECT_EQ(PlaysById(List(2, kListAlbums, 0, 100, kFilterArtist, "queen"), 2),
            (std::vector<int32_t>{0, 1}));
}

TEST_F(Engine, PreviousPositions) {
  // Songs 0..3; the previous period [100, 200) ranks 1, 2, 0, 3; this one [200, 300) 0, 3, 1.
  FourSongs();
  std::vector<HitRecord> hits;
  auto plays = [&](uint32_t song, int count, int32_t t) {
    for (int i = 0; i < count; ++i) hits.push_back(Hit(song, t));
  };
  plays(1, 5, 150), plays(2, 4, 151), plays(0, 3, 152), plays(3, 1, 153);
  plays(0, 6, 250), plays(3, 5, 251), plays(1, 2, 252);
  test::WriteHits(hits);
  std::vector<HitListItem> items = List(4, kListSongs, 200, 300, 0, "", kPosCompare);
  ASSERT_EQ(items[0].id, 0);
  EXPECT_EQ(items[0].lastPos, 2);  // third before, first now
  ASSERT_EQ(items[1].id, 3);
  EXPECT_EQ(items[1].lastPos, 3);  // the last place of the previous top 4 keeps its position
  ASSERT_EQ(items[2].id, 1);
  EXPECT_EQ(items[2].lastPos, 0);
  ASSERT_EQ(items[3].id, 2);
  EXPECT_EQ(items[3].lastPos, 1);  // no play now (no row), but second before
  // Every length of list, down to a top 1, shows the previous places within it; song 2's
  // fourth place was outside a top 3.
  const std::vector<std::vector<int32_t>> expected = {{-1}, {-1, -1}, {2, -1, 0}};
  for (int32_t n = 1; n <= 3; ++n) {
    items = List(n, kListSongs, 200, 300, 0, "", kPosCompare);
    for (int32_t i = 0; i < n; ++i) EXPECT_EQ(items[i].lastPos, expected[n - 1][i]) << n << i;
  }
}

TEST_F(Engine, TopOneKeepsItsPreviousFirstPlace) {
  FourSongs();
  test::WriteHits({Hit(2, 150), Hit(2, 151), Hit(1, 152), Hit(2, 250), Hit(0, 251)});
  std::vector<HitListItem> items = List(1, kListSongs, 200, 300, 0, "", kPosCompare);
  ASSERT_EQ(items[0].id, 2);
  EXPECT_EQ(items[0].lastPos, 0);
}

TEST_F(Engine, InPreviousTopWithoutPlaysHasNoPreviousPosition) {
  FourSongs();
  test::WriteHits({Hit(0, 150), Hit(0, 250), Hit(1, 250), Hit(1, 251)});
  std::vector<HitListItem> items = List(4, kListSongs, 200, 300, 0, "", kPosCompare);
  ASSERT_EQ(items[0].id, 1);
  EXPECT_EQ(items[0].lastPos, -1);  // stood in the zero-play tail of the previous list
  ASSERT_EQ(items[1].id, 0);
  EXPECT_EQ(items[1].lastPos, 0);
}

// A database built the way plays build it, from untagged files named after their titles.
class PlaylistFilter : public Engine {
 protected:
  std::string Track(const std::string& name) {
    std::string path = db_.File(name + ".mp3");
    test::WriteBytes(path, std::vector<unsigned char>(200, 0x20));
    return path;
  }
  void Play(const std::string& path, int32_t at) {
    SetClockOverride(at);
    TrackTag tag = {};
    SetField(tag.file, path);
    ReadTag(&tag);
    SongInfo info = {};
    TagToData(tag, &info);
    FillSongInfo(&info);
    ASSERT_TRUE(spinox::Hit(&info));
  }
};

class CountingProgress : public HitListProgress {
 public:
  void Begin(int32_t total) override { log += "begin " + std::to_string(total) + ";"; }
  void Step() override { ++steps; }
  void End() override { log += "end;"; }
  std::string log;
  int steps = 0;
};

// The filter only reads: entries the database does not hold (missing files, unplayed tracks,
// URLs) are not listed and nothing is stored for them.
TEST_F(PlaylistFilter, MarksTheTracksItHoldsAndStoresNothing) {
  std::string a = Track("alpha"), b = Track("beta"), c = Track("gamma"), d = Track("delta");
  Play(a, 1000), Play(a, 1001), Play(b, 1002), Play(c, 1003), Play(c, 1004), Play(c, 1005);
  RemoveFromDatabase(1);  // beta: removed, so not held any more
  Play(b, 1006);          // beta again: a new entry, song 3
  std::vector<unsigned char> songs = test::ReadBytes(FullPath(kSongFile));
  test::ListPlayer player({a, b, d, a, Track("omega"), db_.File("missing.mp3"), "http://x/y"});
  CountingProgress progress;
  std::vector<HitListItem> items(10);
  char value[kFilterSize] = "";
  int32_t n = GetHitList(items.data(), 10, kListSongs, 0, 5000, kFilterPlaylist, value, kPosNone,
                         &progress);
  EXPECT_EQ(progress.log, "begin 7;end;");
  EXPECT_EQ(progress.steps, 7);
  ASSERT_EQ(n, 4);            // the records of the song file
  EXPECT_EQ(items[0].id, 0);  // alpha: 1 + 2 plays
  EXPECT_EQ(items[0].hits, 3);
  EXPECT_EQ(items[1].id, 3);  // beta: 1 + 1 play
  EXPECT_EQ(items[1].hits, 2);
  EXPECT_EQ(items[2].id, 1);  // the removed beta is outside the playlist
  EXPECT_EQ(items[2].hits, -1);
  EXPECT_EQ(items[3].id, 2);  // gamma is outside the playlist: negative, last
  EXPECT_EQ(items[3].hits, -4);
  EXPECT_EQ(items[4].id, -1);
  EXPECT_EQ(test::ReadBytes(FullPath(kSongFile)), songs);
  for (int32_t type : {kListAlbums, kListArtists}) {
    GetHitList(items.data(), 10, type, 0, 5000, kFilterPlaylist, value, kPosNone, nullptr);
    EXPECT_EQ(FileSize(FullPath(type == kListAlbums ? kAlbumFile : kArtistFile)),
              type == kListAlbums ? 104 : 54);
  }
}

// A file still tagged with the names a song had before an edit is that song under the filter.
TEST_F(PlaylistFilter, OldNamesOfAnEditedSongFindIt) {
  std::string a = Track("alpha"), b = Track("beta");
  Play(a, 1000), Play(a, 1001), Play(b, 1002);
  ASSERT_EQ(UpdateSong(0, "Alpha (Remastered)", "", ""), kEditRenamed);
  ASSERT_EQ(UpdateSong(0, "Alpha (2024)", "", ""), kEditRenamed);  // an alias of an alias
  test::ListPlayer player({a});
  std::vector<HitListItem> items(4);
  char value[kFilterSize] = "";
  GetHitList(items.data(), 4, kListSongs, 0, 5000, kFilterPlaylist, value, kPosNone, nullptr);
  EXPECT_EQ(items[0].id, 0);
  EXPECT_EQ(items[0].hits, 3);  // two plays and the playlist's mark
  for (size_t i = 1; i < items.size(); ++i) EXPECT_LE(items[i].hits, 0);  // the rest is not shown
}

TEST_F(PlaylistFilter, OnePreviousPlayCarriesAPosition) {
  std::string a = Track("alpha"), b = Track("beta"), c = Track("gamma");
  Play(c, 100), Play(c, 101), Play(a, 150), Play(b, 250), Play(a, 251), Play(b, 252);
  test::ListPlayer player({a, b});
  std::vector<HitListItem> items(3);
  char value[kFilterSize] = "";
  GetHitList(items.data(), 3, kListSongs, 200, 300, kFilterPlaylist, value, kPosCompare, nullptr);
  // Ids in order of the first plays: gamma 0, alpha 1, beta 2.
  ASSERT_EQ(items[0].id, 2);  // beta, new
  EXPECT_EQ(items[0].lastPos, -1);
  ASSERT_EQ(items[1].id, 1);  // alpha: one play, first of the playlist's previous period
  EXPECT_EQ(items[1].lastPos, 0);
  EXPECT_EQ(items[2].id, 0);  // gamma played more before but is outside the playlist
  EXPECT_LT(items[2].hits, 0);
}

TEST_F(PlaylistFilter, AlbumsAndArtistsOfThePlaylist) {
  std::string a = Track("alpha"), b = Track("beta");
  Play(a, 100);
  test::ListPlayer player({b, a});
  std::vector<HitListItem> items(4);
  char value[kFilterSize] = "";
  // Untagged files share the empty artist and album, so the playlist holds the one record.
  EXPECT_EQ(
      GetHitList(items.data(), 4, kListArtists, 0, 500, kFilterPlaylist, value, kPosNone, nullptr),
      1);
  EXPECT_EQ(items[0].hits, 2);
  EXPECT_EQ(
      GetHitList(items.data(), 4, kListAlbums, 0, 500, kFilterPlaylist, value, kPosNone, nullptr),
      1);
  EXPECT_EQ(items[0].hits, 2);
}

}  // namespace
}  // namespace spinox
