#include "hitlist/playlist_scan.h"

#include <gtest/gtest.h>

#include <string>
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

using test::List;
using test::Ranked;

// A database built the way plays build it, from untagged files named after their titles.
class PlaylistFilter : public ::testing::Test {
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
  std::vector<HitListItem> Playlist(int32_t type, int32_t from, int32_t to, int32_t n,
                                    int32_t mode = kPosNone, HitListProgress* progress = nullptr,
                                    int32_t* count = nullptr) {
    HitListQuery q{type, from, to, kFilterPlaylist, "", mode};
    q.progress = progress;
    return List(q, n, count);
  }

  test::TempDatabase db_;
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
// URLs) are not listed and nothing is stored for them. Playlist entries count 1 + plays, the
// others are negative.
TEST_F(PlaylistFilter, MarksTheTracksItHoldsAndStoresNothing) {
  std::string a = Track("alpha"), b = Track("beta"), c = Track("gamma"), d = Track("delta");
  Play(a, 1000), Play(a, 1001), Play(b, 1002), Play(c, 1003), Play(c, 1004), Play(c, 1005);
  RemoveFromDatabase(1);  // beta: removed, so not held any more
  Play(b, 1006);          // beta again: a new entry, song 3
  std::vector<unsigned char> songs = test::ReadBytes(FullPath(kSongFile));
  test::ListPlayer player({a, b, d, a, Track("omega"), db_.File("missing.mp3"), "http://x/y"});
  CountingProgress progress;
  int32_t n = 0;
  EXPECT_EQ(Ranked(Playlist(kListSongs, 0, 5000, 5, kPosNone, &progress, &n), false),
            "0:3 3:2 1:-1 2:-4 -");
  EXPECT_EQ(n, 4);
  EXPECT_EQ(progress.log, "begin 7;end;");
  EXPECT_EQ(progress.steps, 7);
  EXPECT_EQ(test::ReadBytes(FullPath(kSongFile)), songs);
  // Untagged files share the empty artist and album: the playlist holds that one record.
  EXPECT_EQ(Ranked(Playlist(kListAlbums, 0, 5000, 2), false), "0:7 -");
  EXPECT_EQ(Ranked(Playlist(kListArtists, 0, 5000, 2), false), "0:7 -");
  EXPECT_EQ(FileSize(FullPath(kAlbumFile)), 104);
  EXPECT_EQ(FileSize(FullPath(kArtistFile)), 54);
}

// A file still tagged with the names a song had before an edit is that song under the filter.
TEST_F(PlaylistFilter, OldNamesOfAnEditedSongFindIt) {
  std::string a = Track("alpha"), b = Track("beta");
  Play(a, 1000), Play(a, 1001), Play(b, 1002);
  ASSERT_EQ(UpdateSong(0, "Alpha (Remastered)", "", ""), kEditRenamed);
  ASSERT_EQ(UpdateSong(0, "Alpha (2024)", "", ""), kEditRenamed);  // an alias of an alias
  test::ListPlayer player({a});
  std::vector<HitListItem> items = Playlist(kListSongs, 0, 5000, 4);
  EXPECT_EQ(items[0].id, 0);
  EXPECT_EQ(items[0].hits, 3);  // two plays and the playlist's mark
  for (size_t i = 1; i < items.size(); ++i) EXPECT_LE(items[i].hits, 0);  // the rest is not shown
}

TEST_F(PlaylistFilter, OnePreviousPlayCarriesAPosition) {
  std::string a = Track("alpha"), b = Track("beta"), c = Track("gamma");
  Play(c, 100), Play(c, 101), Play(a, 150), Play(b, 250), Play(a, 251), Play(b, 252);
  test::ListPlayer player({a, b});
  // Ids in order of the first plays: gamma 0, alpha 1, beta 2. Beta is new; alpha had one play,
  // first of the playlist's previous period; gamma played more before but is outside the list.
  EXPECT_EQ(Ranked(Playlist(kListSongs, 200, 300, 3, kPosCompare), true), "2:3:-1 1:2:0 0:-1:-1");
}

}  // namespace
}  // namespace spinox
