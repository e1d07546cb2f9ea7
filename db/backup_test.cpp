#include "db/backup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

#include "base/clock.h"
#include "base/user.h"
#include "db/changes.h"
#include "db/paths.h"
#include "db/records.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;
using test::Join;
using test::Put;

const char* const kRecordFiles[] = {kHitFile, kSongFile, kArtistFile, kAlbumFile};

constexpr int32_t kNow = 1740989220;  // 2025-03-03 09:07 in Berlin, 08:07 UTC

using RestoringUser = test::ScriptedUser;

class BackupTest : public ::testing::Test {
 protected:
  void SetUp() override { SetClockOverride(kNow); }
  // The example database: 3 hits, 2 songs (one removed), 2 artists, 1 album.
  void PutExample() {
    Put(kHitFile, Join({test::HitBytes(0, 0, 0, 10), test::HitBytes(kNoId, kNoId, kNoId, 20),
                        test::HitBytes(0, 0, 0, 30)}));
    Put(kSongFile,
        Join({test::SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/m/w.mp3", 30}),
              test::SongBytes({kNoId, kNoId, kNoId, "sos", "abba", "gold", "/m/s.mp3", 20})}));
    Put(kArtistFile, Join({test::ArtistBytes(0, "abba"), test::ArtistBytes(1, "queen")}));
    Put(kAlbumFile, test::AlbumBytes(0, "gold", "abba"));
  }
  static std::vector<Bytes> Snapshot() { return test::RecordFiles(); }
  test::ScopedZone zone{"Europe/Berlin"};
  test::TempDatabase db;
};

TEST_F(BackupTest, ExampleDatabaseRoundTrips) {
  PutExample();
  std::vector<Bytes> before = Snapshot();
  std::string path = BackupDatabase();
  ASSERT_EQ(path, db.File("Spinox-Mar 03, 25,0907.bak"));
  Bytes backup = test::ReadBytes(path);
  ASSERT_EQ(backup.size(), 1124u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(backup.data())), "SPINOXv1.5");
  EXPECT_EQ(std::string(backup.begin() + 10, backup.begin() + 16), std::string("\0UTF-8", 6));
  EXPECT_EQ(backup[16], 3);  // H
  EXPECT_EQ(Bytes(backup.begin() + 20, backup.begin() + 68), before[0]);
  EXPECT_EQ(backup[68], 2);                   // S
  EXPECT_EQ(backup[24 + 48 + 832], 2);        // A
  EXPECT_EQ(backup[28 + 48 + 832 + 108], 1);  // B

  for (const char* name : kRecordFiles) Put(name, Bytes(7, 1));
  RestoringUser user(true, path);
  EXPECT_EQ(RestoreDatabase(), RestoreResult::kRestored);
  EXPECT_EQ(Snapshot(), before);  // the removed song keeps its place and its hit record
  EXPECT_EQ(user.asked, "The current database will be lost.\nAre you sure?|Restore Database");
  EXPECT_EQ(user.chose, "Restore Database|Spinox backup files (*.bak)|*.bak");
  EXPECT_EQ(user.told, "Database Restored Succesfully|Restore Database");
}

TEST_F(BackupTest, EmptyAndMissingFilesGiveZeroCounts) {
  test::PutFile(db.File(kSongFile), Bytes());  // the others are missing
  std::string path = BackupDatabase();
  ASSERT_FALSE(path.empty());
  Bytes want(16, 0);
  std::memcpy(want.data(), "SPINOXv1.5\0UTF-8", 16);
  want.resize(32, 0);
  EXPECT_EQ(test::ReadBytes(path), want);
  PutExample();
  EXPECT_EQ(RestoreBackupFile(path), RestoreResult::kRestored);
  for (const char* name : kRecordFiles) EXPECT_EQ(FileSize(db.File(name)), 0) << name;
}

TEST_F(BackupTest, PartialRecordsAreLeftOut) {
  PutExample();
  Bytes songs = test::Get(kSongFile);
  Put(kSongFile, Join({songs, Bytes(100, 0xEE)}));
  std::string path = BackupDatabase();
  EXPECT_EQ(FileSize(path), 1124);
  EXPECT_EQ(RestoreBackupFile(path), RestoreResult::kRestored);
  EXPECT_EQ(test::Get(kSongFile), songs);
}

// No dialog after No; Cancel in the dialog says nothing more; neither changes a file.
TEST_F(BackupTest, NoOrCancelTouchesNothing) {
  PutExample();
  std::string path = BackupDatabase();
  for (const char* name : kRecordFiles) Put(name, Bytes(3, 9));
  std::vector<Bytes> before = Snapshot();
  for (auto [reply, file, result] : {std::tuple{false, path, RestoreResult::kDeclined},
                                     std::tuple{true, std::string(), RestoreResult::kCancelled}}) {
    RestoringUser user(reply, file);
    EXPECT_EQ(RestoreDatabase(), result);
    EXPECT_EQ(user.chose.empty(), !reply);
    EXPECT_TRUE(user.told.empty());
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(BackupTest, WhatIsNotABackupChangesNothing) {
  PutExample();
  std::string path = BackupDatabase();
  Bytes good = test::ReadBytes(path);
  std::vector<Bytes> before = Snapshot();
  // A negative hit count steps back into the header, whose bytes then read as counts of 0, 0
  // and 1 album that ends the file exactly: only the sign of the count tells it is no backup.
  Bytes negative = {'S', 'P', 'I', 'N', 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  negative.resize(16 + 104, 0);
  Bytes oversized = good;
  oversized[68] = 0x00, oversized[69] = 0x00, oversized[70] = 0x01;  // 65536 songs
  Bytes longer = good;
  longer.push_back(0);
  std::vector<Bytes> bad = {Bytes(),
                            Bytes(20, 0),
                            Bytes(good.begin(), good.end() - 1),
                            Bytes(good.begin(), good.begin() + 500),
                            negative,
                            oversized,
                            longer};
  std::mt19937 rng(3);
  for (int i = 0; i < 200; ++i) {
    Bytes random(rng() % 2000);
    for (unsigned char& c : random) c = static_cast<unsigned char>(rng());
    bad.push_back(random);
  }
  std::string file = db.File("other.bak");
  for (const Bytes& b : bad) {
    test::PutFile(file, b);
    RestoringUser user(true, file);
    EXPECT_EQ(RestoreDatabase(), RestoreResult::kNotBackup) << b.size();
    EXPECT_EQ(user.told,
              "This file is not a Spinox backup.\nThe database was not changed.|Restore Database");
    ASSERT_EQ(Snapshot(), before);
  }
  RestoringUser user(true, db.File("missing.bak"));
  EXPECT_EQ(RestoreDatabase(), RestoreResult::kUnreadable);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(BackupTest, FailedBackupIsReportedAndLeavesNoFile) {
  PutExample();
  std::string first = BackupDatabase();
  Bytes earlier = test::ReadBytes(first);
  test::PutFile(db.File(kHitFile), Bytes());
  SetWriteFault(3);
  EXPECT_EQ(BackupDatabase(), "");
  SetWriteFault(0);
  EXPECT_EQ(test::ReadBytes(first), earlier);  // the same minute's earlier backup stays
  EXPECT_FALSE(FileExists(first + ".tmp"));
}

// Clearing asks first; declined, nothing changes; confirmed, the four record files are emptied
// (and kept) and the settings stay. Only the committed clear counts as a change.
TEST_F(BackupTest, ClearDatabaseAsksFirst) {
  PutExample();
  test::PutFile(db.File(kSettingsFile), Bytes{'S', 'P', 'X'});
  const std::vector<Bytes> before = Snapshot();
  const uint32_t changes = DatabaseChanges();
  {
    RestoringUser no(false);
    EXPECT_FALSE(ClearDatabase());
    EXPECT_EQ(no.asked, "The current database will be lost.\nAre you sure?|Clear Database");
  }
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(DatabaseChanges(), changes);
  RestoringUser yes(true);
  EXPECT_TRUE(ClearDatabase());
  for (const char* name : kRecordFiles) EXPECT_EQ(FileSize(db.File(name)), 0) << name;
  EXPECT_EQ(FileSize(db.File(kSettingsFile)), 3);
  EXPECT_NE(DatabaseChanges(), changes);
}

}  // namespace
}  // namespace spinox
