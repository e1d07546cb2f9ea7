#include "db/edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>

#include "base/text.h"
#include "base/user.h"
#include "db/lookup.h"
#include "db/name_lists.h"
#include "db/paths.h"
#include "db/play.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;
using test::HitBytes;
using test::Join;
using test::SongBytes;

using EditUser = test::ScriptedUser;
using test::Get;
using test::Put;
using test::Records;
using Strings = std::vector<std::string>;

std::string Lower(const char* field) {
  return test::Lower(FieldText(field, kNameSize));
}

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::PutArtistsAndAlbums();
    Put(kSongFile,
        Join({SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/m/0.mp3", 30}),
              SongBytes({1, 0, 0, "sos", "abba", "gold", "/m/1.mp3", 60}),
              SongBytes({2, 0, 1, "fernando", "abba", "arrival", "/m/2.mp3", 40}),
              SongBytes({3, 1, 2, "bohemian", "queen", "greatest hits", "/m/3.mp3", 50})}));
    Put(kHitFile, Join({HitBytes(0, 0, 0, 10), HitBytes(1, 0, 0, 20), HitBytes(0, 0, 0, 30),
                        HitBytes(2, 0, 1, 40), HitBytes(3, 1, 2, 50), HitBytes(1, 0, 0, 60)}));
  }
  static std::vector<Bytes> Snapshot() { return test::RecordFiles(); }
  // The records as text, for whole comparisons: ids ("-" none, "a" the alias mark), names.
  static std::string Id(uint32_t v) {
    return v == kNoId ? "-" : v == kAliasMark ? "a" : std::to_string(v);
  }
  static Strings Songs() {
    Strings out;
    for (const SongRecord& s : SongRecs())
      out.push_back(Id(s.id) + "," + Id(s.artistId) + "," + Id(s.albumId) + " " +
                    FieldText(s.title) + "/" + FieldText(s.artist) + "/" + FieldText(s.album) +
                    " " + FieldText(s.file) + " " + std::to_string(s.lastPlayed));
    return out;
  }
  static Strings Albums() {
    Strings out;
    for (const AlbumRecord& a : Records<AlbumRecord>(FullPath(kAlbumFile)))
      out.push_back(Id(a.id) + " " + FieldText(a.album) + "/" + FieldText(a.artist));
    return out;
  }
  static Strings Artists() {
    Strings out;
    for (const ArtistRecord& a : Records<ArtistRecord>(FullPath(kArtistFile)))
      out.push_back(Id(a.id) + " " + FieldText(a.name));
    return out;
  }
  static std::string Hits() {  // song, artist and album of each play
    std::string out;
    for (const HitRecord& h : HitRecs())
      out += (out.empty() ? "" : " ") + Id(h.songId) + "," + Id(h.artistId) + "," + Id(h.albumId);
    return out;
  }
  static std::vector<SongRecord> SongRecs() { return Records<SongRecord>(FullPath(kSongFile)); }
  static std::vector<HitRecord> HitRecs() { return Records<HitRecord>(FullPath(kHitFile)); }
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

TEST_F(EditTest, MergingSongsSumsTheirPlays) {
  EditUser user(true);
  // Song 2 (fernando, arrival) renamed to song 0's names: song 0 is merged into 2.
  EXPECT_EQ(UpdateSong(2, "Waterloo", "gold", "abba"), kEditMerged);
  EXPECT_EQ(
      user.asked,
      "This song already exists in the database. Do you want to merge the two songs?|Edit Song");
  EXPECT_EQ(Hits(), "2,0,0 1,0,0 2,0,0 2,0,0 3,1,2 1,0,0");  // song 2's own play moves to gold
  // The names are kept, but never found again.
  EXPECT_EQ(Songs(),
            (Strings{"-,-,- waterloo/abba/gold /m/0.mp3 30", "1,0,0 sos/abba/gold /m/1.mp3 60",
                     "2,0,0 Waterloo/abba/gold /m/2.mp3 40",
                     "3,1,2 bohemian/queen/greatest hits /m/3.mp3 50",
                     "-,a,2 fernando/abba/arrival /m/2.mp3 40"}));  // 2's old names
  // A later play of either name counts for the survivor, though the merged-away index is lower.
  SongInfo info = test::Track("ABBA", "waterloo", "Gold");
  ASSERT_TRUE(FillSongInfo(&info));
  EXPECT_EQ(info.songId, 2u);
  EXPECT_EQ(info.hits, 3);
  ASSERT_TRUE(Hit(&info));
  EXPECT_EQ(Hits().substr(Hits().size() - 5), "2,0,0");
}

TEST_F(EditTest, RenamingAnArtistRewritesAlbumsByOldNameInAnyCase) {
  std::vector<Bytes> before = Snapshot();
  EXPECT_EQ(UpdateArtist(0, "ABBA Group"), kEditRenamed);
  EXPECT_EQ(Albums(), (Strings{"0 gold/ABBA Group", "1 arrival/ABBA Group",
                               "2 greatest hits/queen"}));  // album 1 had "ABBA"
  EXPECT_EQ(Songs()[2], "2,0,1 fernando/ABBA Group/arrival /m/2.mp3 40");
  EXPECT_EQ(Songs()[3], "3,1,2 bohemian/queen/greatest hits /m/3.mp3 50");
  EXPECT_EQ(Artists()[0], "0 ABBA Group");
  EXPECT_EQ(Snapshot()[0], before[0]);
}

// Merging two artists that each have an album "gold" (queen's with its own "waterloo") would
// leave two albums and two songs of the same names: each pair is folded into its first record.
TEST_F(EditTest, MergingArtistsFoldsTheAlbumsAndSongsItMakesAlike) {
  Put(kAlbumFile, Join({Get(kAlbumFile), test::AlbumBytes(3, "Gold", "queen")}));
  Put(kSongFile,
      Join({Get(kSongFile), SongBytes({4, 1, 3, "Waterloo", "queen", "Gold", "/m/4.mp3", 70})}));
  Put(kHitFile, Join({Get(kHitFile), HitBytes(4, 1, 3, 70)}));
  EditUser user(true);
  EXPECT_EQ(UpdateArtist(1, "abba"), kEditMerged);
  EXPECT_EQ(Artists(), (Strings{"- abba", "1 abba"}));  // abba merged into the edited artist 1
  // Queen's gold is now abba's gold: folded into album 0, its waterloo into song 0.
  EXPECT_EQ(Albums(),
            (Strings{"0 gold/abba", "1 arrival/ABBA", "2 greatest hits/abba", "- Gold/abba"}));
  EXPECT_EQ(Songs()[0], "0,1,0 waterloo/abba/gold /m/0.mp3 30");
  EXPECT_EQ(Songs()[3], "3,1,2 bohemian/abba/greatest hits /m/3.mp3 50");
  EXPECT_EQ(Songs()[4].substr(0, 5), "-,-,-");
  EXPECT_EQ(Hits(), "0,1,0 1,1,0 0,1,0 2,1,1 3,1,2 1,1,0 0,1,0");
}

// The plays of a merged song keep an album and an artist even when the names it takes have no
// album or artist record yet (songs stored without them by earlier versions).
TEST_F(EditTest, MergesAddTheAlbumAndArtistTheyLack) {
  Put(kSongFile, Join({Get(kSongFile),
                       SongBytes({4, kNoId, kNoId, "new", "nobody", "nowhere", "/m/4.mp3", 1})}));
  Put(kAlbumFile, Join({Get(kAlbumFile), test::AlbumBytes(3, "somewhere", "somebody")}));
  EditUser user(true);
  EXPECT_EQ(UpdateSong(2, "new", "nowhere", "nobody"), kEditMerged);
  EXPECT_EQ(Albums().back(), "4 nowhere/nobody");
  EXPECT_EQ(Artists().back(), "2 nobody");
  EXPECT_EQ(Songs()[2], "2,2,4 new/nobody/nowhere /m/2.mp3 40");
  EXPECT_EQ(Hits(), "0,0,0 1,0,0 0,0,0 2,2,4 3,1,2 1,0,0");
  // An album merge into names whose artist has no record adds it.
  EXPECT_EQ(UpdateAlbum(1, "somewhere", "somebody"), kEditMerged);
  EXPECT_EQ(Artists().back(), "3 somebody");
  EXPECT_EQ(Hits().find('-'), std::string::npos);
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
  Put(kSongFile, Join({Get(kSongFile),
                       SongBytes({4, kNoId, kNoId, "unknown", "nobody", "none", "/m/4.mp3", 1})}));
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
      SongInfo info = test::Track(t.artist, t.title, t.album);
      FillSongInfo(&info);
      ASSERT_TRUE(Hit(&info));
      EXPECT_EQ(c.song, info.songId);
    }
    std::vector<SongRecord> songs = SongRecs();
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
    for (const HitRecord& h : HitRecs()) {
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
  Strings songs = Songs();
  ASSERT_EQ(songs.size(), 7u);
  EXPECT_EQ(Strings(songs.begin() + 4, songs.end()),
            (Strings{"-,a,0 waterloo/abba/gold /m/0.mp3 30", "-,a,1 sos/abba/gold /m/1.mp3 60",
                     "-,a,2 fernando/abba/arrival /m/2.mp3 40"}));
  ASSERT_EQ(UpdateArtist(0, "abba"), kEditRenamed);
  ASSERT_EQ(UpdateArtist(0, "Abba!"), kEditRenamed);  // the same old names again: no new alias
  EXPECT_EQ(SongRecs().size(), 10u);
  EXPECT_EQ(FindLiveSong("waterloo", "gold", "abba"), kNoId);
  EXPECT_EQ(FindSong("waterloo", "gold", "abba"), 0u);
  EXPECT_EQ(FillCBOWithArtists(), (std::vector<std::string>{"Abba!", "queen"}));
}

// The lists of names the edit dialogs offer.
TEST_F(EditTest, NameListsSkipDeletedRecordsAndFollowTheLiveArtist) {
  Put(kArtistFile, Join({Get(kArtistFile), test::ArtistBytes(kNoId, "gone")}));
  EXPECT_EQ(FillCBOWithArtists(), (std::vector<std::string>{"abba", "queen"}));
  EXPECT_EQ(FillCBOWithAlbums(kNoId),
            (std::vector<std::string>{"abba - gold", "ABBA - arrival", "queen - greatest hits"}));
  EXPECT_EQ(FillCBOWithAlbums(0), (std::vector<std::string>{"gold", "arrival"}));
  EXPECT_EQ(FillCBOWithAlbums(1), (std::vector<std::string>{"greatest hits"}));
  // abba merged into a later record of the same name: its albums follow the live record.
  Put(kArtistFile, Join({test::ArtistBytes(kNoId, "abba"), test::ArtistBytes(1, "queen"),
                         test::ArtistBytes(2, "Abba")}));
  EXPECT_EQ(FillCBOWithAlbums(2), (std::vector<std::string>{"gold", "arrival"}));
  EXPECT_TRUE(FillCBOWithAlbums(0).empty());
  std::remove(db.File(kArtistFile).c_str());
  EXPECT_TRUE(FillCBOWithArtists().empty());
  EXPECT_TRUE(FillCBOWithAlbums(0).empty());
}

}  // namespace
}  // namespace spinox
