#include "db/lookup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/file.h"
#include "base/text.h"
#include "db/paths.h"
#include "db/record_io.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::AlbumBytes;
using test::ArtistBytes;
using test::Bytes;
using test::Join;
using test::Put;
using test::SongBytes;

class LookupTest : public ::testing::Test {
 protected:
  // A small library: abba twice (duplicate names), queen, and a removed song.
  void WriteLibrary() {
    Put(kArtistFile,
        Join({ArtistBytes(0, "abba"), ArtistBytes(1, "Queen"), ArtistBytes(2, "abba")}));
    Put(kAlbumFile, Join({AlbumBytes(0, "gold", "queen"), AlbumBytes(1, "Gold", "ABBA"),
                          AlbumBytes(2, "arrival", "abba")}));
    Put(kSongFile, Join({SongBytes({0, 2, 1, "waterloo", "abba", "gold", "/m/w.mp3", 10}),
                         SongBytes({kNoId, kNoId, kNoId, "sos", "abba", "gold", "/m/s.mp3", 20}),
                         SongBytes({2, 2, 1, "sos", "abba", "gold", "/m/s2.mp3", 30})}));
  }
  test::TempDatabase db;
};

// Names match in any case; the lowest live index wins; an album is its album and artist names
// ("artist - album" for FindAlbumBoth, spelled exactly so); a song needs all three names.
TEST_F(LookupTest, FindersMatchEveryNameWithoutRegardToCase) {
  WriteLibrary();
  const struct {
    RecId got, want;
    const char* what;
  } cases[] = {
      {FindArtist("Abba"), 0, "first of two abba"},
      {FindArtist("QUEEN"), 1, "queen"},
      {FindArtist(nullptr), kNoId, "no name"},
      {FindAlbum("gold", "abba"), 1, "abba's gold"},
      {FindAlbum("gold", "Queen"), 0, "queen's gold"},
      {FindAlbum("gold", "nobody"), kNoId, "unknown artist"},
      {FindAlbum("arrival", "queen"), kNoId, "album of another artist"},
      {FindAlbumBoth("abba - gold"), 1, "artist - album"},
      {FindAlbumBoth("QUEEN - GOLD"), 0, "artist - album in capitals"},
      {FindAlbumBoth("gold - abba"), kNoId, "album - artist"},
      {FindAlbumBoth("abba-gold"), kNoId, "no blanks"},
      {FindAlbumBoth("abba_-_gold"), kNoId, "other characters around the dash"},
      {FindAlbumBoth("abba - gold "), kNoId, "trailing blank"},
      {FindAlbumBoth("abba - "), kNoId, "no album"},
      {FindSong("waterloo", "gold", "abba"), 0, "all three names"},
      {FindSong("SOS", "GOLD", "abba"), 2, "the removed song 1 is passed over"},
      {FindSong("waterloo", "arrival", "abba"), kNoId, "another album"},
      {FindSong("waterloo", "gold", "queen"), kNoId, "another artist"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, c.got) << c.what;
  Put(kAlbumFile, Join({AlbumBytes(0, "b - c", "a"), AlbumBytes(1, "c", "a - b")}));
  EXPECT_EQ(0u, FindAlbumBoth("a - b - c")) << "the first \" - \" splits";
}

// Records marked deleted (removed, or merged into another) are never found, whichever file.
TEST_F(LookupTest, DeletedRecordsAreNeverFound) {
  Put(kArtistFile, Join({ArtistBytes(kNoId, "abba"), ArtistBytes(1, "ABBA")}));
  Put(kAlbumFile, Join({AlbumBytes(kNoId, "gold", "abba"), AlbumBytes(kNoId, "arrival", "abba")}));
  Put(kSongFile, SongBytes({kNoId, 1, 0, "sos", "abba", "gold", "/s", 1}));
  EXPECT_EQ(1u, FindArtist("abba"));
  EXPECT_EQ(kNoId, FindAlbum("gold", "abba"));
  EXPECT_EQ(kNoId, FindAlbumBoth("abba - arrival"));
  EXPECT_EQ(kNoId, FindSong("sos", "gold", "abba"));
}

// Only ASCII capitals fold; a torn record is not scanned; a name filling its whole field is
// compared within it.
TEST_F(LookupTest, NamesAtTheEdgesOfTheirFields) {
  Bytes torn = ArtistBytes(3, "queen");
  torn.resize(30);
  Bytes full = ArtistBytes(2, "");
  std::fill(full.begin() + 4, full.end(), 'A');
  Put(kArtistFile, Join({ArtistBytes(0, "\304bba"), ArtistBytes(1, "\344bba"), full, torn}));
  EXPECT_EQ(0u, FindArtist("\304BBA"));  // Ä
  EXPECT_EQ(1u, FindArtist("\344BBA"));  // ä
  EXPECT_EQ(2u, FindArtist(std::string(50, 'a').c_str()));
  EXPECT_EQ(kNoId, FindArtist(std::string(49, 'a').c_str()));
  EXPECT_EQ(kNoId, FindArtist("queen"));
  EXPECT_EQ(kNoId, GetAlbumArtist(3));
}

// Scans read the files in chunks; matches must be found on both sides of a chunk's end.
TEST_F(LookupTest, LargeFilesAreScannedToTheEnd) {
  const uint32_t perChunk = kScanChunk / sizeof(SongRecord), count = 2 * perChunk + 10;
  Bytes songs;
  for (uint32_t i = 0; i < count; ++i)
    songs = Join({songs, SongBytes({i, 0, 0, "t" + std::to_string(i), "a", "b", "", 0})});
  Put(kSongFile, songs);
  for (uint32_t want : {0u, perChunk - 1, perChunk, perChunk + 1, 2 * perChunk, count - 1})
    EXPECT_EQ(want, FindSong(("T" + std::to_string(want)).c_str(), "b", "a"));
  EXPECT_EQ(kNoId, FindSong(("t" + std::to_string(count)).c_str(), "b", "a"));
}

// The single-field readers give the stored ids, and none for removed, missing or torn records.
TEST_F(LookupTest, SingleFieldReaders) {
  EXPECT_EQ(kNoId, GetSongAlbum(0)) << "no files";
  EXPECT_EQ(kNoId, GetAlbumArtist(0)) << "no files";
  WriteLibrary();
  const struct {
    RecId got, want;
    const char* what;
  } cases[] = {
      {GetSongAlbum(0), 1, "song's album"},
      {GetSongArtist(0), 2, "song's artist"},
      {GetSongAlbum(1), kNoId, "removed song"},
      {GetAlbumArtist(1), 0, "the first artist of the album's artist name"},
      {GetAlbumArtist(0), 1, "queen"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, c.got) << c.what;
  for (RecId id : {3u, 4u, 0x7FFFFFFFu, kNoId - 1, kNoId}) {
    EXPECT_EQ(kNoId, GetSongAlbum(id)) << id;
    EXPECT_EQ(kNoId, GetSongArtist(id)) << id;
    EXPECT_EQ(kNoId, GetAlbumArtist(id)) << id;
  }
  char title[kNameSize] = "x", album[kNameSize] = "y", artist[kNameSize] = "z";
  for (int kind : {0, 1, 2}) {
    GetSongInfo(kNoId, kind, title, album, artist);
    EXPECT_EQ(std::string(title) + album + artist, "") << kind;
  }
  Put(kArtistFile, ArtistBytes(0, "abba"));
  EXPECT_EQ(kNoId, GetAlbumArtist(0)) << "queen is no longer in the artist file";
}

// Kinds 0 and 3 read a song, 1 an album, anything else an artist; the other outputs are emptied.
TEST_F(LookupTest, GetSongInfoByKind) {
  WriteLibrary();
  const struct {
    RecId id;
    int kind;
    const char* texts;  // title|album|artist
  } cases[] = {{0, 0, "waterloo|gold|abba"},
               {0, 3, "waterloo|gold|abba"},
               {1, 1, "|Gold|ABBA"},
               {1, 2, "||Queen"},
               {1, 4, "||Queen"},
               {1, -1, "||Queen"}};
  for (const auto& c : cases) {
    char title[kNameSize] = "x", album[kNameSize] = "y", artist[kNameSize] = "z";
    GetSongInfo(c.id, c.kind, title, album, artist);
    EXPECT_EQ(std::string(title) + "|" + album + "|" + artist, c.texts) << c.kind;
  }
}

}  // namespace
}  // namespace spinox
