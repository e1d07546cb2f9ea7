#include "hitlist/playlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ansi_path.h"
#include "base/file.h"
#include "base/text.h"
#include "db/paths.h"
#include "hitlist/test_db.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

class Playlists : public ::testing::Test {
 protected:
  void SetUp() override {
    // Songs 0..4: album 1 holds songs 1, 2 and 4 (by artist 0), album 0 songs 0 and 3.
    test::WriteSongs({{"s0", "a", "x", 0, 0, "/m/s0.mp3"},
                      {"s1", "a", "y", 0, 1, "/m/s1.mp3"},
                      {"s2", "a", "y", 0, 1, "/m/s2.mp3"},
                      {"s3", "b", "x", 1, 0, "/m/s3.mp3"},
                      {"s4", "a", "y", 0, 1, "-"}});
  }
  std::string temp() const { return db_.File("temphit.m3u8"); }
  std::string ansiTemp() const { return db_.File("temphit.m3u"); }
  test::TempDatabase db_;
  test::ListPlayer player_{{}};
};

TEST_F(Playlists, SongsInListOrderWithCrLf) {
  HitListItem items[] = {{3, 9, -1}, {0, 5, -1}, {3, 1, -1}};
  MakePlaylist(kEnqueue, kListSongs, 3, items, "");
  EXPECT_EQ(test::ReadText(temp()), "/m/s3.mp3\r\n/m/s0.mp3\r\n/m/s3.mp3\r\n");
  EXPECT_EQ(player_.calls, "load " + temp() + ";");
  player_.calls.clear();
  MakePlaylist(kPlay, kListLog, 1, &items[1], "");  // play: clears, loads and starts
  EXPECT_EQ(test::ReadText(temp()), "/m/s0.mp3\r\n");
  EXPECT_EQ(player_.calls, "clear;load " + temp() + ";play;");
  player_.calls.clear();
  player_.wide = false;  // an older player is handed the list in the ANSI code page
  MakePlaylist(kPlay, kListLog, 1, &items[0], "");
  EXPECT_EQ(test::ReadText(ansiTemp()), "/m/s3.mp3\r\n");
  EXPECT_EQ(player_.calls, "clear;load " + temp() + ";load ANSI " + ansiTemp() + ";play;");
}

TEST_F(Playlists, AlbumsAndArtistsInDatabaseOrder) {
  HitListItem albums[] = {{1, 7, -1}};
  ASSERT_TRUE(WritePlaylist(db_.File("a.m3u"), kListAlbums, 1, albums));
  EXPECT_EQ(test::ReadText(db_.File("a.m3u")), "/m/s1.mp3\r\n/m/s2.mp3\r\n\r\n");  // s4 has no file
  HitListItem artists[] = {{1, 3, -1}, {0, 9, -1}};
  ASSERT_TRUE(WritePlaylist(db_.File("b.m3u"), kListArtists, 2, artists));
  EXPECT_EQ(test::ReadText(db_.File("b.m3u")),
            "/m/s0.mp3\r\n/m/s1.mp3\r\n/m/s2.mp3\r\n/m/s3.mp3\r\n\r\n");
}

// An alias record (the old names of an edited song) holds a song's id where an album's would be:
// an album or artist list never exports it.
TEST_F(Playlists, AliasesAreNeverExported) {
  std::vector<unsigned char> songs = test::ReadBytes(FullPath(kSongFile));
  SongRecord alias = {};
  alias.id = kNoId, alias.artistId = kAliasMark, alias.albumId = 1;
  SetField(alias.file, "/old.mp3");
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&alias);
  songs.insert(songs.end(), bytes, bytes + sizeof alias);
  test::WriteBytes(FullPath(kSongFile), songs);
  HitListItem albums[] = {{1, 7, -1}};
  ASSERT_TRUE(WritePlaylist(db_.File("a.m3u"), kListAlbums, 1, albums));
  EXPECT_EQ(test::ReadText(db_.File("a.m3u")), "/m/s1.mp3\r\n/m/s2.mp3\r\n\r\n");
}

TEST_F(Playlists, SaveWritesOnlyTheChosenFile) {
  HitListItem items[] = {{2, 1, -1}};
  EXPECT_TRUE(MakePlaylist(kSave, kListSongs, 1, items, ""));  // cancelled: nothing to say
  EXPECT_FALSE(FileExists(temp()));
  test::WriteBytes(db_.File("old.m3u"), {'o', 'l', 'd', '\n', 'x', 'x', 'x', 'x', 'x'});
  MakePlaylist(kSave, kListSongs, 1, items, db_.File("old.m3u"));
  EXPECT_EQ(test::ReadText(db_.File("old.m3u")), "/m/s2.mp3\r\n");
  EXPECT_FALSE(FileExists(temp()));
  EXPECT_EQ(player_.calls, "");
  std::string why;  // a failed save says why
  EXPECT_FALSE(MakePlaylist(kSave, kListSongs, 1, items, db_.File("no/such/x.m3u"), &why));
  EXPECT_NE(why, "");
}

TEST_F(Playlists, NothingHappensForAnEmptyListOrWithoutSongs) {
  HitListItem items[] = {{2, 1, -1}};
  MakePlaylist(kPlay, kListSongs, 0, items, "");
  EXPECT_FALSE(FileExists(temp()));
  std::remove(db_.File("gen_spinox.sng").c_str());
  std::string why;
  EXPECT_FALSE(MakePlaylist(kPlay, kListSongs, 1, items, "", &why));
  EXPECT_NE(why.find("gen_spinox.sng"), std::string::npos) << why;
  EXPECT_FALSE(FileExists(temp()));
  EXPECT_EQ(player_.calls, "");
}

TEST_F(Playlists, IdsOutsideTheSongFileAreSkipped) {
  HitListItem items[] = {{-1, 1, -1}, {99, 1, -1}, {4, 1, -1}, {0, 1, -1}};
  ASSERT_TRUE(WritePlaylist(db_.File("c.m3u"), kListSongs, 4, items));
  EXPECT_EQ(test::ReadText(db_.File("c.m3u")), "\r\n/m/s0.mp3\r\n");
}

// The short names a system could give: only under /short/.
std::string FakeShortPath(const std::string& path) {
  return path.rfind("/short/", 0) == 0 ? "/SHORT/" + std::to_string(path.size()) + "~1.MP3" : "";
}

// An .m3u8 holds every path in UTF-8; an .m3u the form the player reads: the ANSI code page,
// else the short name, else the UTF-8 path with a note.
TEST(PlaylistForms, EachExtensionItsEncoding) {
  struct Row {
    const char* path;
    const char* inM3u;
    bool noted;
  };
  const Row kRows[] = {
      {"/m/plain.mp3", "/m/plain.mp3", false},
      {"/m/Bj\xC3\xB6rk/J\xC3\xB3ga.mp3", "/m/Bj\xF6rk/J\xF3ga.mp3", false},
      {"/m/Dvo\xC5\x99\xC3\xA1k.mp3", "/m/Dvo\xC5\x99\xC3\xA1k.mp3", true},  // no best fit
      {"/short/\xE6\x9D\xB1\xE4\xBA\xAC.mp3", "/SHORT/17~1.MP3", false},
      {"/m/\xE6\x9D\xB1\xE4\xBA\xAC.mp3", "/m/\xE6\x9D\xB1\xE4\xBA\xAC.mp3", true},
      {"/m/\xF0\x9F\x8E\xB5.mp3", "/m/\xF0\x9F\x8E\xB5.mp3", true},
  };
  test::TempDatabase db;
  // Installed for this test only, even when an assertion ends it early.
  struct ShortNames {
    ShortNames() { SetShortPathFinder(FakeShortPath); }
    ~ShortNames() { SetShortPathFinder(nullptr); }
  } shortNames;
  for (const Row& row : kRows) {
    test::WriteSongs({{"t", "a", "b", 0, 0, row.path}});
    HitListItem item = {0, 1, -1};
    std::string note;
    ASSERT_TRUE(WritePlaylist(db.File("x.M3U8"), kListSongs, 1, &item, nullptr, &note));
    EXPECT_EQ(test::ReadText(db.File("x.M3U8")), std::string(row.path) + "\r\n");
    EXPECT_EQ(note, "");
    ASSERT_TRUE(WritePlaylist(db.File("x.m3u"), kListSongs, 1, &item, nullptr, &note));
    EXPECT_EQ(test::ReadText(db.File("x.m3u")), std::string(row.inM3u) + "\r\n") << row.path;
    EXPECT_EQ(!note.empty(), row.noted) << row.path;
  }
}

}  // namespace
}  // namespace spinox
