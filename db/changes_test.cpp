#include "db/changes.h"

#include <gtest/gtest.h>

#include "base/file.h"
#include "db/paths.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;
using test::ScriptedUser;

// Clearing asks first; declined, nothing changes; confirmed, the four record files are emptied
// at once and the settings stay. Only the committed clear counts as a change.
TEST(Changes, ClearDatabaseAsksFirst) {
  test::TempDatabase db;
  auto put = [&](const char* name, const Bytes& bytes) { test::PutFile(db.File(name), bytes); };
  put(kArtistFile, test::ArtistBytes(0, "abba"));
  put(kAlbumFile, test::AlbumBytes(0, "gold", "abba"));
  put(kSongFile, test::SongBytes({0, 0, 0, "sos", "abba", "gold", "/m/s.mp3", 20}));
  put(kHitFile, test::HitBytes(0, 0, 0, 5));
  put(kSettingsFile, Bytes{'S', 'P', 'X'});
  const Bytes songs = test::ReadBytes(db.File(kSongFile));
  const uint32_t changes = DatabaseChanges();
  {
    ScriptedUser no(false);
    EXPECT_FALSE(ClearDatabase());
    EXPECT_EQ("The current database will be lost.\nAre you sure?|Clear Database", no.asked);
  }
  EXPECT_EQ(songs, test::ReadBytes(db.File(kSongFile)));
  EXPECT_EQ(16u, test::ReadBytes(db.File(kHitFile)).size());
  EXPECT_EQ(changes, DatabaseChanges());
  ScriptedUser yes(true);
  EXPECT_TRUE(ClearDatabase());
  for (const char* name : {kSongFile, kAlbumFile, kArtistFile, kHitFile}) {
    EXPECT_TRUE(FileExists(db.File(name))) << name;
    EXPECT_EQ(0, FileSize(db.File(name))) << name;
  }
  EXPECT_EQ(3, FileSize(db.File(kSettingsFile)));
  EXPECT_NE(changes, DatabaseChanges());
}

}  // namespace
}  // namespace spinox
