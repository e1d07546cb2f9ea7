#include "db/play.h"

#include <gtest/gtest.h>

#include <string>

#include "base/clock.h"
#include "base/file.h"
#include "db/paths.h"
#include "db/record_io.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::AlbumBytes;
using test::ArtistBytes;
using test::Bytes;
using test::Counters;
using test::Get;
using test::HitBytes;
using test::Join;
using test::Put;
using test::SongBytes;
using test::Track;

constexpr int32_t kNow = 1700000000;

// Resolves the track at `now` and records one play of it; returns its statistics from before.
SongInfo Play(SongInfo info, int32_t now) {
  SetClockOverride(now);
  FillSongInfo(&info);
  SongInfo before = info;
  EXPECT_TRUE(Hit(&info));
  return before;
}

// The statistics of a track at kNow.
SongInfo Resolved(SongInfo info) {
  SetClockOverride(kNow);
  FillSongInfo(&info);
  return info;
}

std::string Ids(const SongInfo& i) {
  auto id = [](RecId v) { return v == kNoId ? std::string("-") : std::to_string(v); };
  return id(i.songId) + " " + id(i.artistId) + " " + id(i.albumId);
}

class PlayTest : public ::testing::Test {
 protected:
  test::TempDatabase db;
};

TEST_F(PlayTest, SequenceOfPlaysWritesTheRecordFiles) {
  SongInfo first = Play(Track("ABBA", "Waterloo", "Gold", "/m/a.mp3"), kNow);
  EXPECT_EQ(Ids(first), "- - -");
  EXPECT_EQ(Counters(first), "0: day 0 week 0 month 0 year 0 album 0 artist 0 last 0");
  EXPECT_EQ(kNow, first.playTime);
  // A new song by a known artist on a new album: no artist record is added.
  SongInfo second = Play(Track("Abba", "SOS", "Arrival", "/m/s.mp3"), kNow + 100);
  EXPECT_EQ(Ids(second), "- 0 -");
  EXPECT_EQ(Counters(second), "0: day 0 week 0 month 0 year 0 album 0 artist 1 last 0");
  EXPECT_STREQ("Abba", second.artist) << "the names keep the case of the tags";
  Play(Track("Queen", "Bohemian Rhapsody", "A Night at the Opera", "/m/q.mp3"), kNow + 200);
  // The first song again, differing in case only and played from another folder.
  SongInfo again = Play(Track("ABBA", "WATERLOO", "GOLD", "/n/a.mp3"), kNow + 300);
  EXPECT_EQ(Ids(again), "0 0 0");
  EXPECT_EQ(Counters(again), "1: day 1 week 1 month 1 year 1 album 1 artist 2 last 1700000000");
  EXPECT_EQ(kNow + 300, again.playTime);

  EXPECT_EQ(Join({ArtistBytes(0, "ABBA"), ArtistBytes(1, "Queen")}), Get(kArtistFile));
  EXPECT_EQ(Join({AlbumBytes(0, "Gold", "ABBA"), AlbumBytes(1, "Arrival", "Abba"),
                  AlbumBytes(2, "A Night at the Opera", "Queen")}),
            Get(kAlbumFile));
  EXPECT_EQ(Join({SongBytes({0, 0, 0, "Waterloo", "ABBA", "Gold", "/n/a.mp3", kNow + 300}),
                  SongBytes({1, 0, 1, "SOS", "Abba", "Arrival", "/m/s.mp3", kNow + 100}),
                  SongBytes({2, 1, 2, "Bohemian Rhapsody", "Queen", "A Night at the Opera",
                             "/m/q.mp3", kNow + 200})}),
            Get(kSongFile));
  EXPECT_EQ(Join({HitBytes(0, 0, 0, kNow), HitBytes(1, 0, 1, kNow + 100),
                  HitBytes(2, 1, 2, kNow + 200), HitBytes(0, 0, 0, kNow + 300)}),
            Get(kHitFile));
}

// Song 0 (album 0) and song 1 (album 1) by artist 0, the plays of song 0 at the given times, one
// of song 1, and two removed plays.
void WriteCounterLibrary(const std::vector<int32_t>& song0Times) {
  Bytes hits = HitBytes(kNoId, kNoId, kNoId, song0Times.front());
  for (int32_t time : song0Times) hits = Join({hits, HitBytes(0, 0, 0, time)});
  Put(kHitFile, Join({hits, HitBytes(1, 0, 1, kNow - 10), HitBytes(kNoId, kNoId, kNoId, kNow)}));
  Put(kArtistFile, ArtistBytes(0, "abba"));
  Put(kAlbumFile, Join({AlbumBytes(0, "gold", "abba"), AlbumBytes(1, "arrival", "abba")}));
  Put(kSongFile, Join({SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/a", 0}),
                       SongBytes({1, 0, 1, "sos", "abba", "arrival", "/b", 0})}));
}

// A play exactly at the start of a window counts in it; removed plays count nowhere, not even
// for a track whose album or song is unknown; an unknown artist has no counters at all.
TEST_F(PlayTest, CounterWindowsIncludeTheirStart) {
  WriteCounterLibrary({kNow - 31536001, kNow - 31536000, kNow - 2592001, kNow - 2592000,
                       kNow - 604801, kNow - 604800, kNow - 86401, kNow - 86400});
  SongInfo info = Resolved(Track("Abba", "Waterloo", "Gold", "/a"));
  EXPECT_EQ(Counters(info), "8: day 1 week 3 month 5 year 7 album 8 artist 9 last 1699913600");
  EXPECT_EQ(kNow, info.playTime);
  WriteCounterLibrary({kNow - 100});
  info = Resolved(Track("abba", "new song", "new album", "/c"));
  EXPECT_EQ(Ids(info), "- 0 -");
  EXPECT_EQ(Counters(info), "0: day 0 week 0 month 0 year 0 album 0 artist 2 last 0");
  Put(kSongFile, SongBytes({0, kNoId, kNoId, "waterloo", "abba", "gold", "/old", 7}));
  Put(kHitFile, HitBytes(0, kNoId, kNoId, kNow - 10));
  Put(kArtistFile, Bytes{});
  Put(kAlbumFile, Bytes{});
  info = Resolved(Track("abba", "waterloo", "gold", "/new"));
  EXPECT_EQ(Ids(info), "0 - -");
  EXPECT_EQ(Counters(info), "0: day 0 week 0 month 0 year 0 album 0 artist 0 last 0");
}

TEST_F(PlayTest, RemoveFromDatabaseMarksTheSongAndItsPlays) {
  Play(Track("abba", "waterloo", "gold", "/a"), kNow);
  Play(Track("abba", "sos", "gold", "/b"), kNow + 1);
  Play(Track("abba", "waterloo", "gold", "/a"), kNow + 2);
  RemoveFromDatabase(0);
  const Bytes songs =
      Join({SongBytes({kNoId, kNoId, kNoId, "waterloo", "abba", "gold", "/a", kNow + 2}),
            SongBytes({1, 0, 0, "sos", "abba", "gold", "/b", kNow + 1})});
  const Bytes hits = Join({HitBytes(kNoId, kNoId, kNoId, kNow), HitBytes(1, 0, 0, kNow + 1),
                           HitBytes(kNoId, kNoId, kNoId, kNow + 2)});
  EXPECT_EQ(songs, Get(kSongFile));
  EXPECT_EQ(hits, Get(kHitFile));
  SongInfo other = Resolved(Track("abba", "sos", "gold", "/b"));
  EXPECT_EQ(Counters(other), "1: day 1 week 1 month 1 year 1 album 1 artist 1 last 1700000001");
  SongInfo removed = Resolved(Track("abba", "waterloo", "gold", "/a"));
  EXPECT_EQ(Ids(removed), "- 0 0") << "a removed song is never found again";
  EXPECT_EQ(0, removed.hits);

  RemoveFromDatabase(5);  // an id past the end writes nothing
  EXPECT_FALSE(RemoveFromDatabase(0));
  EXPECT_EQ(LastIoError(), "the song was already removed");
  EXPECT_EQ(songs, Get(kSongFile));
  EXPECT_EQ(hits, Get(kHitFile));

  RemoveFromDatabase(1);
  FillSongInfo(&other);
  EXPECT_EQ(Counters(other), "0: day 0 week 0 month 0 year 0 album 0 artist 0 last 0");
  EXPECT_TRUE(Hit(&removed));
  EXPECT_EQ(2u, removed.songId) << "a later play starts a new entry";
}

// The files change between resolving a track and recording its play (a clear, a restore, an
// edit or a removal, in this process or another): the play goes to the records that hold the
// track's names now, never to whatever the old ids name.
TEST_F(PlayTest, HitRecordsUnderTheIdsTheNamesHaveNow) {
  struct Case {
    const char* what;
    Bytes artists, albums, songs;
    uint32_t song, artist, album;
  };
  const Bytes sos = SongBytes({0, 0, 0, "sos", "abba", "gold", "/s", 1});
  const Case cases[] = {
      {"emptied", {}, {}, {}, 0, 0, 0},
      {"another song at its id", ArtistBytes(0, "abba"), AlbumBytes(0, "gold", "abba"),
       Join({sos, SongBytes({1, 0, 0, "waterloo", "abba", "gold", "/w", 1})}), 1, 0, 0},
      {"removed", ArtistBytes(0, "abba"), AlbumBytes(0, "gold", "abba"),
       SongBytes({kNoId, kNoId, kNoId, "waterloo", "abba", "gold", "/w", 1}), 1, 0, 0},
      {"artist and album merged away", Join({ArtistBytes(kNoId, "abba"), ArtistBytes(1, "ABBA")}),
       Join({AlbumBytes(kNoId, "gold", "abba"), AlbumBytes(1, "Gold", "ABBA")}),
       SongBytes({0, 1, 1, "Waterloo", "ABBA", "Gold", "/w", 1}), 0, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* name : {kArtistFile, kAlbumFile, kSongFile, kHitFile}) Put(name, {});
    Play(Track("abba", "waterloo", "gold", "/w"), kNow);
    SongInfo info = Resolved(Track("abba", "waterloo", "gold", "/w"));
    ASSERT_EQ(0u, info.songId);
    Put(kArtistFile, c.artists);
    Put(kAlbumFile, c.albums);
    Put(kSongFile, c.songs);
    Put(kHitFile, {});
    EXPECT_TRUE(Hit(&info));
    EXPECT_EQ(HitBytes(c.song, c.artist, c.album, kNow), Get(kHitFile));
    EXPECT_EQ(c.song, info.songId);
    SongInfo after = Resolved(Track("abba", "waterloo", "gold", "/w"));
    EXPECT_EQ(c.song, after.songId);
    EXPECT_EQ(1, after.hits);
  }
}

// An alias (the old names of an edited song) leads to the song it names, through later aliases
// too, and only to a live one: the track then takes that song's ids and counters.
TEST_F(PlayTest, AnAliasLeadsToALiveSong) {
  const Bytes live = SongBytes({0, 0, 0, "Waterloo (live)", "Abba!", "Gold!", "/w", 1});
  const Bytes removed = SongBytes({kNoId, kNoId, kNoId, "x", "abba", "gold", "/w", 1});
  auto alias = [](RecId to, const char* title) {
    return SongBytes({kNoId, kAliasMark, to, title, "abba", "gold", "/old", 1});
  };
  struct Case {
    const char* what;
    Bytes songs;
    RecId song;
  };
  const Case cases[] = {
      {"one hop", Join({live, alias(0, "waterloo")}), 0},
      {"two hops", Join({live, alias(2, "waterloo"), alias(0, "b")}), 0},
      {"to a record whose id is not its index", Join({alias(1, "waterloo"), live}), kNoId},
      {"to a removed song", Join({removed, alias(0, "waterloo")}), kNoId},
      {"past the end", Join({live, alias(7, "waterloo")}), kNoId},
      {"in a loop", Join({live, alias(2, "waterloo"), alias(1, "b")}), kNoId},
  };
  Put(kArtistFile, Join({ArtistBytes(0, "Abba!"), ArtistBytes(1, "abba")}));
  Put(kAlbumFile, Join({AlbumBytes(0, "Gold!", "Abba!"), AlbumBytes(1, "gold", "abba")}));
  Put(kHitFile, Join({HitBytes(0, 0, 0, 10), HitBytes(0, 0, 0, 20)}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Put(kSongFile, c.songs);
    SongInfo info = Resolved(Track("abba", "waterloo", "gold", "/new"));
    // The survivor's records, not those of the old names.
    EXPECT_EQ(Ids(info), c.song == kNoId ? "- 1 1" : "0 0 0");
    EXPECT_EQ(c.song == kNoId ? 0 : 2, info.hits);
  }
}

// Older databases hold songs stored without album or artist ids; their next play mends them.
TEST_F(PlayTest, ASongStoredWithoutIdsIsMendedAtItsNextPlay) {
  Put(kSongFile, SongBytes({0, kNoId, kNoId, "waterloo", "abba", "gold", "/w", 1}));
  Put(kArtistFile, ArtistBytes(0, "abba"));
  Play(Track("abba", "waterloo", "gold", "/w"), kNow);
  EXPECT_EQ(SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/w", kNow}), Get(kSongFile));
  EXPECT_EQ(AlbumBytes(0, "gold", "abba"), Get(kAlbumFile));
  EXPECT_EQ(HitBytes(0, 0, 0, kNow), Get(kHitFile));
}

// Now is the clock, or the last whole play's time when that is later (a torn one is ignored).
TEST_F(PlayTest, PlayTimesNeverGoBackwards) {
  SetClockOverride(kNow);
  EXPECT_EQ(kNow, GetTimeNow()) << "no hit file";
  Play(Track("abba", "waterloo", "gold", "/a"), kNow);
  SetClockOverride(kNow - 3600);
  EXPECT_EQ(kNow, GetTimeNow());
  SongInfo info = Track("abba", "sos", "gold", "/b");
  FillSongInfo(&info);
  EXPECT_EQ(kNow, info.playTime);
  SetClockOverride(kNow + 5);
  EXPECT_EQ(kNow + 5, GetTimeNow());
  Bytes torn = HitBytes(9, 9, 9, kNow + 999999);
  Put(kHitFile, Join({HitBytes(0, 0, 0, kNow + 100), Bytes(torn.begin() + 4, torn.end())}));
  EXPECT_EQ(kNow + 100, GetTimeNow());
}

// A write cut short leaves part of a record at the end of a file; the next append must take
// its place, or every later record would sit off its id.
TEST_F(PlayTest, AppendOverwritesATornRecordAtTheEnd) {
  auto withTail = [](Bytes b, size_t n) { return Join({b, Bytes(n, 0xEE)}); };
  Put(kArtistFile, withTail(ArtistBytes(0, "abba"), 20));
  Put(kAlbumFile, withTail(AlbumBytes(0, "gold", "abba"), 103));
  Put(kSongFile, withTail(SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/a", 1}), 100));
  Put(kHitFile, withTail(HitBytes(0, 0, 0, kNow - 10), 7));
  Play(Track("Queen", "Innuendo", "Innuendo", "/q"), kNow);
  EXPECT_EQ(Join({ArtistBytes(0, "abba"), ArtistBytes(1, "Queen")}), Get(kArtistFile));
  EXPECT_EQ(Join({AlbumBytes(0, "gold", "abba"), AlbumBytes(1, "Innuendo", "Queen")}),
            Get(kAlbumFile));
  EXPECT_EQ(Join({SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/a", 1}),
                  SongBytes({1, 1, 1, "Innuendo", "Queen", "Innuendo", "/q", kNow})}),
            Get(kSongFile));
  EXPECT_EQ(Join({HitBytes(0, 0, 0, kNow - 10), HitBytes(1, 1, 1, kNow)}), Get(kHitFile));
}

}  // namespace
}  // namespace spinox
