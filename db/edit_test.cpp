#include "db/edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

#include "base/text.h"
#include "base/user.h"
#include "db/database.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;
using test::HitBytes;
using test::Join;
using test::SongBytes;

const char* const kRecordFiles[] = {kHitFile, kSongFile, kArtistFile, kAlbumFile};

using EditUser = test::ScriptedUser;
using test::Records;

std::string Lower(const char* field) {
  std::string s = FieldText(field, kNameSize);
  MakeLower(s.data());
  return s;
}

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::PutFile(db.File(kArtistFile),
                  Join({test::ArtistBytes(0, "abba"), test::ArtistBytes(1, "queen")}));
    test::PutFile(db.File(kAlbumFile),
                  Join({test::AlbumBytes(0, "gold", "abba"), test::AlbumBytes(1, "arrival", "ABBA"),
                        test::AlbumBytes(2, "greatest hits", "queen")}));
    test::PutFile(
        db.File(kSongFile),
        Join({SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/m/0.mp3", 30}),
              SongBytes({1, 0, 0, "sos", "abba", "gold", "/m/1.mp3", 60}),
              SongBytes({2, 0, 1, "fernando", "abba", "arrival", "/m/2.mp3", 40}),
              SongBytes({3, 1, 2, "bohemian", "queen", "greatest hits", "/m/3.mp3", 50})}));
    test::PutFile(db.File(kHitFile),
                  Join({HitBytes(0, 0, 0, 10), HitBytes(1, 0, 0, 20), HitBytes(0, 0, 0, 30),
                        HitBytes(2, 0, 1, 40), HitBytes(3, 1, 2, 50), HitBytes(1, 0, 0, 60)}));
  }
  std::vector<Bytes> Snapshot() const {
    std::vector<Bytes> files;
    for (const char* name : kRecordFiles) files.push_back(test::ReadBytes(db.File(name)));
    return files;
  }
  std::vector<SongRecord> Songs() const { return Records<SongRecord>(db.File(kSongFile)); }
  std::vector<AlbumRecord> Albums() const { return Records<AlbumRecord>(db.File(kAlbumFile)); }
  std::vector<ArtistRecord> Artists() const { return Records<ArtistRecord>(db.File(kArtistFile)); }
  std::vector<HitRecord> Hits() const { return Records<HitRecord>(db.File(kHitFile)); }
  test::TempDatabase db;
};

// Names equal in any case, and merges the user declines, leave every file as it was.
TEST_F(EditTest, UnchangedNamesAndDeclinedMergesWriteNothing) {
  std::vector<Bytes> before = Snapshot();
  EditUser yes(true);
  EXPECT_EQ(UpdateSong(1, "SOS", "Gold", "ABBA"), kEditUnchanged);
  EXPECT_EQ(UpdateAlbum(1, "Arrival", "abba"), kEditUnchanged);
  EXPECT_EQ(UpdateArtist(0, "ABBA"), kEditUnchanged);
  EXPECT_TRUE(yes.asked.empty());
  EditUser no(false);
  EXPECT_EQ(UpdateSong(2, "waterloo", "gold", "abba"), kEditDeclined);
  EXPECT_EQ(UpdateAlbum(1, "gold", "abba"), kEditDeclined);
  EXPECT_EQ(UpdateArtist(1, "Abba"), kEditDeclined);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(EditTest, RenamingASongTouchesOnlyItsRecordAndHits) {
  std::vector<Bytes> before = Snapshot();
  EXPECT_EQ(UpdateSong(1, "S.O.S.", "gold", "abba"), kEditRenamed);
  std::vector<SongRecord> songs = Songs();
  EXPECT_STREQ(songs[1].title, "S.O.S.");  // as typed
  EXPECT_STREQ(songs[1].file, "/m/1.mp3");
  EXPECT_EQ(+songs[1].lastPlayed, 60);
  EXPECT_EQ(test::ReadBytes(db.File(kAlbumFile)), before[3]);
  EXPECT_EQ(test::ReadBytes(db.File(kArtistFile)), before[2]);
  EXPECT_EQ(test::ReadBytes(db.File(kHitFile)), before[0]);  // same ids written back
}

TEST_F(EditTest, RenamingASongToANewAlbumAndArtistAppendsAlbumFirst) {
  EXPECT_EQ(UpdateSong(1, "sos", "Voulez-Vous", "Björn"), kEditRenamed);
  std::vector<AlbumRecord> albums = Albums();
  ASSERT_EQ(albums.size(), 4u);
  EXPECT_STREQ(albums[3].album, "Voulez-Vous");
  EXPECT_STREQ(albums[3].artist, "Björn");
  std::vector<ArtistRecord> artists = Artists();
  ASSERT_EQ(artists.size(), 3u);
  EXPECT_STREQ(artists[2].name, "Björn");
  SongRecord s = Songs()[1];
  EXPECT_EQ(+s.albumId, 3u);
  EXPECT_EQ(+s.artistId, 2u);
  std::vector<HitRecord> hits = Hits();
  EXPECT_EQ(+hits[1].albumId, 3u);
  EXPECT_EQ(+hits[5].artistId, 2u);
  EXPECT_EQ(+hits[0].albumId, 0u);  // other songs' plays stay
}

TEST_F(EditTest, MergingSongsSumsTheirPlays) {
  EditUser user(true);
  // Song 2 (fernando, arrival) renamed to song 0's names: song 0 is merged into 2.
  EXPECT_EQ(UpdateSong(2, "Waterloo", "gold", "abba"), kEditMerged);
  EXPECT_EQ(
      user.asked,
      "This song already exists in the database. Do you want to merge the two songs?|Edit Song");
  std::vector<HitRecord> hits = Hits();
  int plays = 0;
  for (const HitRecord& h : hits) plays += h.songId == 2;
  EXPECT_EQ(plays, 3);
  EXPECT_EQ(+hits[0].songId, 2u);
  EXPECT_EQ(+hits[3].albumId, 0u);  // song 2's own plays now count for album gold
  std::vector<SongRecord> songs = Songs();
  EXPECT_EQ(+songs[0].id, kNoId);
  EXPECT_EQ(+songs[0].artistId, kNoId);
  EXPECT_EQ(+songs[0].albumId, kNoId);
  EXPECT_STREQ(songs[0].title, "waterloo");  // names kept, but never found again
  EXPECT_EQ(+songs[2].albumId, 0u);
  EXPECT_STREQ(songs[2].title, "Waterloo");
  // A later play of either name counts for the survivor, though the merged-away index is lower.
  SongInfo info = {};
  SetField(info.artist, "ABBA");
  SetField(info.title, "waterloo");
  SetField(info.album, "Gold");
  ASSERT_TRUE(FillSongInfo(&info));
  EXPECT_EQ(info.songId, 2u);
  EXPECT_EQ(info.hits, 3);
  ASSERT_TRUE(Hit(&info));
  EXPECT_EQ(Hits().back().songId, 2u);
}

TEST_F(EditTest, RenamingAnArtistRewritesAlbumsByOldNameInAnyCase) {
  std::vector<Bytes> before = Snapshot();
  EXPECT_EQ(UpdateArtist(0, "ABBA Group"), kEditRenamed);
  std::vector<AlbumRecord> albums = Albums();
  EXPECT_STREQ(albums[0].artist, "ABBA Group");
  EXPECT_STREQ(albums[1].artist, "ABBA Group");  // was "ABBA"
  EXPECT_STREQ(albums[2].artist, "queen");
  std::vector<SongRecord> songs = Songs();
  EXPECT_STREQ(songs[2].artist, "ABBA Group");
  EXPECT_STREQ(songs[3].artist, "queen");
  EXPECT_STREQ(Artists()[0].name, "ABBA Group");
  EXPECT_EQ(test::ReadBytes(db.File(kHitFile)), before[0]);
}

// Merging two artists that each have an album "gold" (queen's with its own "waterloo") would
// leave two albums and two songs of the same names: each pair is folded into its first record.
TEST_F(EditTest, MergingArtistsFoldsTheAlbumsAndSongsItMakesAlike) {
  test::PutFile(db.File(kAlbumFile),
                Join({test::ReadBytes(db.File(kAlbumFile)), test::AlbumBytes(3, "Gold", "queen")}));
  test::PutFile(db.File(kSongFile),
                Join({test::ReadBytes(db.File(kSongFile)),
                      SongBytes({4, 1, 3, "Waterloo", "queen", "Gold", "/m/4.mp3", 70})}));
  test::PutFile(db.File(kHitFile),
                Join({test::ReadBytes(db.File(kHitFile)), HitBytes(4, 1, 3, 70)}));
  EditUser user(true);
  EXPECT_EQ(UpdateArtist(1, "abba"), kEditMerged);
  std::vector<ArtistRecord> artists = Artists();
  EXPECT_EQ(+artists[0].id, kNoId);  // abba (0) merged into the edited artist 1
  EXPECT_STREQ(artists[1].name, "abba");
  std::vector<AlbumRecord> albums = Albums();
  EXPECT_EQ(+albums[0].id, 0u);
  EXPECT_EQ(+albums[3].id, kNoId) << "queen's gold is now abba's gold: folded into album 0";
  std::vector<SongRecord> songs = Songs();
  EXPECT_EQ(+songs[0].artistId, 1u);
  EXPECT_STREQ(songs[3].artist, "abba");
  EXPECT_EQ(+songs[4].id, kNoId) << "the second abba - gold - waterloo is folded into song 0";
  std::vector<HitRecord> hits = Hits();
  for (const HitRecord& h : hits) EXPECT_EQ(+h.artistId, 1u);
  EXPECT_EQ(+hits.back().songId, 0u);
  EXPECT_EQ(+hits.back().albumId, 0u);
}

// The plays of a merged song keep an album and an artist even when the names it takes have no
// album or artist record yet (songs stored without them by earlier versions).
TEST_F(EditTest, MergesAddTheAlbumAndArtistTheyLack) {
  test::PutFile(db.File(kSongFile),
                Join({test::ReadBytes(db.File(kSongFile)),
                      SongBytes({4, kNoId, kNoId, "new", "nobody", "nowhere", "/m/4.mp3", 1})}));
  test::PutFile(db.File(kAlbumFile), Join({test::ReadBytes(db.File(kAlbumFile)),
                                           test::AlbumBytes(3, "somewhere", "somebody")}));
  EditUser user(true);
  EXPECT_EQ(UpdateSong(2, "new", "nowhere", "nobody"), kEditMerged);
  ASSERT_EQ(Albums().size(), 5u);
  EXPECT_STREQ(Albums()[4].album, "nowhere");
  ASSERT_EQ(Artists().size(), 3u);
  EXPECT_STREQ(Artists()[2].name, "nobody");
  EXPECT_EQ(+Songs()[2].albumId, 4u);
  EXPECT_EQ(+Songs()[2].artistId, 2u);
  EXPECT_EQ(+Hits()[3].albumId, 4u);
  EXPECT_EQ(+Hits()[3].artistId, 2u);
  // An album merge into names whose artist has no record adds it.
  EXPECT_EQ(UpdateAlbum(1, "somewhere", "somebody"), kEditMerged);
  ASSERT_EQ(Artists().size(), 4u);
  EXPECT_STREQ(Artists()[3].name, "somebody");
  for (const HitRecord& h : Hits()) EXPECT_NE(+h.artistId, kNoId);
}

TEST_F(EditTest, RenamingAnAlbumMovesItsSongsAndPlaysToTheArtist) {
  EXPECT_EQ(UpdateAlbum(1, "Arrival (Deluxe)", "Queen"), kEditRenamed);
  EXPECT_EQ(Artists().size(), 2u);  // queen exists: nothing appended
  SongRecord fernando = Songs()[2];
  EXPECT_EQ(+fernando.artistId, 1u);
  EXPECT_STREQ(fernando.artist, "Queen");
  EXPECT_STREQ(fernando.album, "Arrival (Deluxe)");
  EXPECT_EQ(Hits()[3].artistId, 1u);
  AlbumRecord album = Albums()[1];
  EXPECT_STREQ(album.album, "Arrival (Deluxe)");
  EXPECT_STREQ(album.artist, "Queen");
}

TEST_F(EditTest, MergingAlbums) {
  EditUser user(true);
  EXPECT_EQ(UpdateAlbum(1, "GOLD", "abba"), kEditMerged);
  EXPECT_EQ(user.asked,
            "This album already exists in the database. Do you want to merge the two albums?|Edit "
            "Album");
  for (const HitRecord& h : Hits()) {
    if (h.songId != 3) {
      EXPECT_EQ(+h.albumId, 1u);
    }
  }
  std::vector<SongRecord> songs = Songs();
  EXPECT_EQ(+songs[0].albumId, 1u);
  EXPECT_STREQ(songs[0].album, "gold");  // moved songs keep their texts
  EXPECT_STREQ(songs[2].album, "GOLD");
  std::vector<AlbumRecord> albums = Albums();
  EXPECT_EQ(+albums[0].id, kNoId);
  EXPECT_STREQ(albums[0].album, "gold");
  EXPECT_STREQ(albums[1].album, "GOLD");
}

TEST_F(EditTest, UnusableIdsAreRefused) {
  std::vector<Bytes> before = Snapshot();
  EditUser user(true);
  EXPECT_EQ(UpdateSong(kNoId, "x", "y", "z"), kEditRefused);
  EXPECT_EQ(user.told, std::string(kEditRefusedText) + "|Edit Song");
  EXPECT_EQ(UpdateAlbum(kNoId, "x", "y"), kEditRefused);
  EXPECT_EQ(UpdateArtist(kNoId, "x"), kEditRefused);
  EXPECT_EQ(UpdateArtist(2, "x"), kEditRefused);  // past the end
  EXPECT_EQ(user.told, std::string(kEditRefusedText) + "|Edit Artist");
  EXPECT_EQ(Snapshot(), before);
  // Removed or merged-away records are not edited (a rename would bring them back).
  ASSERT_TRUE(RemoveFromDatabase(1));
  before = Snapshot();
  EXPECT_EQ(UpdateSong(1, "sos 2", "gold", "abba"), kEditRefused);
  EXPECT_EQ(user.told, std::string(kEditRemovedText) + "|Edit Song");
  EXPECT_EQ(UpdateAlbum(1, "gold", "abba"), kEditMerged);  // album 0 merged into 1
  before = Snapshot();
  EXPECT_EQ(UpdateAlbum(0, "anything", "abba"), kEditRefused);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(EditTest, EntryOfTheFocusedRow) {
  Bytes songs = test::ReadBytes(db.File(kSongFile));
  Bytes loose = SongBytes({4, kNoId, kNoId, "unknown", "nobody", "none", "/m/4.mp3", 1});
  songs.insert(songs.end(), loose.begin(), loose.end());
  test::PutFile(db.File(kSongFile), songs);
  EXPECT_EQ(EditEntryId(0, 3, 2), 2u);
  EXPECT_EQ(EditEntryId(1, 0, 2), 1u);  // the album the song record refers to
  EXPECT_EQ(EditEntryId(2, 3, 3), 1u);
  EXPECT_EQ(EditEntryId(2, 1, 1), 0u);  // album artist "ABBA" resolves to abba
  EXPECT_EQ(EditEntryId(1, 1, 2), 2u);
  EXPECT_EQ(EditEntryId(1, 0, 4), kNoId);  // stored without an album
  EXPECT_EQ(EditEntryId(0, 1, 0), kNoId);
}

// The tags in the files are never changed, so after an edit a track still plays under its old
// names: it counts for the entry the edit left (the survivor), adds no song, album or artist
// for the old names, and no list shows the same names twice.
TEST_F(EditTest, PlaysOfOldNamesCountForTheSurvivor) {
  struct Track {
    const char *title, *album, *artist;
  };
  struct Case {
    const char* what;
    std::function<void()> edit;
    std::vector<Track> plays;
    RecId song;  // the song every play counts for
    int hits;    // its plays afterwards
    size_t liveSongs, artists, albums;
  };
  const Track waterloo = {"waterloo", "gold", "abba"}, sos = {"sos", "gold", "abba"};
  // clang-format off
  const Case cases[] = {
      {"song renamed", [] { UpdateSong(0, "Waterloo (live)", "gold", "abba"); }, {waterloo}, 0, 3, 4, 2, 3},
      {"songs merged", [] { UpdateSong(1, "Waterloo", "gold", "abba"); }, {waterloo, sos}, 1, 6, 3, 2, 3},
      {"album renamed", [] { UpdateAlbum(0, "Gold (remaster)", "abba"); }, {waterloo, waterloo}, 0, 4, 4, 2, 3},
      {"artist renamed", [] { UpdateArtist(1, "Queen+"); }, {{"bohemian", "greatest hits", "queen"}}, 3, 2, 4, 2, 3},
      {"renamed twice", [] { UpdateSong(0, "b", "gold", "abba"); UpdateSong(0, "c", "gold", "abba"); },
       {waterloo, {"b", "gold", "abba"}}, 0, 4, 4, 2, 3},
      {"renamed, then merged away", [] { UpdateSong(0, "x", "gold", "abba"); UpdateSong(1, "x", "gold", "abba"); },
       {waterloo, sos}, 1, 6, 3, 2, 3},
      {"renamed back", [] { UpdateSong(0, "b", "gold", "abba"); UpdateSong(0, "waterloo", "gold", "abba"); },
       {waterloo, {"b", "gold", "abba"}}, 0, 4, 4, 2, 3},
      {"removed", [] { RemoveFromDatabase(0); }, {waterloo}, 4, 1, 4, 2, 3},
      {"renamed, then removed", [] { UpdateSong(0, "x", "gold", "abba"); RemoveFromDatabase(0); }, {waterloo}, 5, 1, 4, 2, 3},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    EditUser user(true);
    c.edit();
    for (const Track& t : c.plays) {
      SongInfo info = {};
      SetField(info.title, t.title), SetField(info.album, t.album), SetField(info.artist, t.artist);
      FillSongInfo(&info);
      ASSERT_TRUE(Hit(&info));
      EXPECT_EQ(c.song, info.songId);
    }
    std::vector<SongRecord> songs = Songs();
    std::set<std::string> names;
    for (const SongRecord& s : songs) {
      if (s.id != kNoId)
        names.insert(Lower(s.title) + "|" + Lower(s.album) + "|" + Lower(s.artist));
    }
    EXPECT_EQ(c.liveSongs, names.size());
    EXPECT_EQ(c.liveSongs, static_cast<size_t>(std::count_if(
                               songs.begin(), songs.end(), [](auto& s) { return s.id != kNoId; })));
    EXPECT_EQ(c.artists, Artists().size());
    EXPECT_EQ(c.albums, Albums().size());
    int hits = 0;
    for (const HitRecord& h : Hits()) {
      if (h.songId == kNoId) continue;
      hits += h.songId == c.song;
      ASSERT_LT(h.songId, songs.size());
      EXPECT_EQ(songs[h.songId].id, h.songId);  // never an alias or a deleted record
      EXPECT_EQ(songs[h.songId].artistId, h.artistId);
      EXPECT_EQ(songs[h.songId].albumId, h.albumId);
    }
    EXPECT_EQ(c.hits, hits);
  }
}

// An alias holds the old names, leads to the survivor, and is passed over as deleted.
TEST_F(EditTest, ARenameLeavesOneAliasPerChangedName) {
  EditUser user(true);
  ASSERT_EQ(UpdateArtist(0, "Abba!"), kEditRenamed);  // songs 0, 1 and 2
  std::vector<SongRecord> songs = Songs();
  ASSERT_EQ(songs.size(), 7u);
  for (RecId i = 4; i < 7; ++i) {
    EXPECT_TRUE(IsAlias(songs[i]));
    EXPECT_EQ(songs[i].albumId, i - 4);
    EXPECT_STREQ(songs[i].file, songs[i - 4].file);
  }
  EXPECT_STREQ(songs[4].title, "waterloo");
  EXPECT_STREQ(songs[4].artist, "abba");
  ASSERT_EQ(UpdateArtist(0, "abba"), kEditRenamed);
  ASSERT_EQ(UpdateArtist(0, "Abba!"), kEditRenamed);  // the same old names again: no new alias
  EXPECT_EQ(Songs().size(), 10u);
  EXPECT_EQ(FindLiveSong("waterloo", "gold", "abba"), kNoId);
  EXPECT_EQ(FindSong("waterloo", "gold", "abba"), 0u);
  EXPECT_EQ(FillCBOWithArtists(), (std::vector<std::string>{"Abba!", "queen"}));
}

TEST_F(EditTest, ListFillers) {
  Bytes artists = test::ReadBytes(db.File(kArtistFile));
  Bytes deleted = test::ArtistBytes(kNoId, "gone");
  artists.insert(artists.end(), deleted.begin(), deleted.end());
  test::PutFile(db.File(kArtistFile), artists);
  EXPECT_EQ(FillCBOWithArtists(), (std::vector<std::string>{"abba", "queen"}));
  EXPECT_EQ(FillCBOWithAlbums(kNoId),
            (std::vector<std::string>{"abba - gold", "ABBA - arrival", "queen - greatest hits"}));
  EXPECT_EQ(FillCBOWithAlbums(0), (std::vector<std::string>{"gold", "arrival"}));
  EXPECT_EQ(FillCBOWithAlbums(1), (std::vector<std::string>{"greatest hits"}));
  // abba merged into a later record of the same name: its albums follow the live record.
  test::PutFile(db.File(kArtistFile),
                Join({test::ArtistBytes(kNoId, "abba"), test::ArtistBytes(1, "queen"),
                      test::ArtistBytes(2, "Abba")}));
  EXPECT_EQ(FillCBOWithAlbums(2), (std::vector<std::string>{"gold", "arrival"}));
  EXPECT_TRUE(FillCBOWithAlbums(0).empty());
  std::remove(db.File(kArtistFile).c_str());
  EXPECT_TRUE(FillCBOWithArtists().empty());
  EXPECT_TRUE(FillCBOWithAlbums(0).empty());
}

}  // namespace
}  // namespace spinox
