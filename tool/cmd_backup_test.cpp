// backup, restore, clear and remove on a database made with `spinox play`.
#include <gtest/gtest.h>

#include "base/file.h"
#include "db/paths.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using test::Contains;
using test::RunCli;
using Bytes = std::vector<unsigned char>;

const char* const kRecordFiles[] = {kHitFile, kSongFile, kArtistFile, kAlbumFile};

class DatabaseCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t t = 1000000;
    for (const char* name : {"one.mp3", "two.mp3", "one.mp3"}) {
      ASSERT_EQ(test::PlayUntagged(db.path(), db.File(name), t += 100), 0);
    }
  }
  std::vector<Bytes> Snapshot() const {
    std::vector<Bytes> files;
    for (const char* name : kRecordFiles) files.push_back(spinox::test::ReadBytes(db.File(name)));
    return files;
  }
  spinox::test::TempDatabase db;
};

TEST_F(DatabaseCommands, BackupThenRestoreGivesTheSameFiles) {
  std::vector<Bytes> before = Snapshot();
  ASSERT_EQ(before[0].size(), 48u);
  auto backup = RunCli({"backup", "--db", db.path(), "--at", "2025-03-03T09:07"});
  ASSERT_EQ(backup.code, 0) << backup.err;
  std::string path = db.File("Spinox-Mar 03, 25,0907.bak");
  EXPECT_EQ(backup.out, path + "\n");
  EXPECT_EQ(FileSize(path), 32 + 48 + 2 * 416 + 54 + 104);

  ASSERT_EQ(RunCli({"clear", "--db", db.path()}, "yes\n").code, 0);
  EXPECT_EQ(FileSize(db.File(kSongFile)), 0);
  auto no = RunCli({"restore", "--db", db.path(), path}, "n\n");
  EXPECT_EQ(no.code, kFailed);
  EXPECT_TRUE(Contains(no.out, "The current database will be lost. Are you sure? [y/N]"));
  EXPECT_EQ(FileSize(db.File(kSongFile)), 0);
  auto yes = RunCli({"restore", "--db", db.path(), path}, "Y\n");
  ASSERT_EQ(yes.code, 0) << yes.err;
  EXPECT_TRUE(Contains(yes.out, "Database Restored Succesfully"));
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(DatabaseCommands, RestoreRefusesWhatIsNotABackup) {
  std::vector<Bytes> before = Snapshot();
  std::string other = db.File("notes.bak");
  spinox::test::WriteBytes(other, Bytes(100, 0x01));
  auto r = RunCli({"restore", "--db", db.path(), "--yes", other});
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.err, "not a Spinox backup")) << r.err;
  r = RunCli({"restore", "--db", db.path(), "--yes", db.File("missing.bak")});
  EXPECT_EQ(r.code, kFailed);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(RunCli({"restore", "--db", db.path(), "--yes"}).code, kBadUsage);
}

TEST_F(DatabaseCommands, ClearAsksAndKeepsTheSettings) {
  spinox::test::WriteBytes(db.File(kSettingsFile), Bytes{'S', 'P', 'X', 0});
  std::vector<Bytes> before = Snapshot();
  EXPECT_EQ(RunCli({"clear", "--db", db.path()}, "").code, kFailed);  // no answer is No
  EXPECT_EQ(RunCli({"clear", "--db", db.path()}, "nope\n").code, kFailed);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(RunCli({"clear", "--db", db.path(), "--yes"}).code, 0);
  for (const char* name : kRecordFiles) EXPECT_EQ(FileSize(db.File(name)), 0) << name;
  EXPECT_EQ(FileSize(db.File(kSettingsFile)), 4);
}

TEST_F(DatabaseCommands, RemoveMarksTheSongAndItsPlays) {
  EXPECT_EQ(RunCli({"remove", "--db", db.path(), "0"}, "n\n").code, kFailed);
  auto r = RunCli({"remove", "--db", db.path(), "0"}, "y\n");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(
      Contains(r.out, "Remove Song from Database: The selected song will be completely removed"));
  Bytes songs = spinox::test::ReadBytes(db.File(kSongFile));
  EXPECT_EQ(Bytes(songs.begin(), songs.begin() + 12), Bytes(12, 0xFF));
  Bytes hits = spinox::test::ReadBytes(db.File(kHitFile));
  EXPECT_EQ(Bytes(hits.begin(), hits.begin() + 12), Bytes(12, 0xFF));
  EXPECT_EQ(hits[16], 1);  // song 1's play stays
  EXPECT_EQ(Bytes(hits.begin() + 32, hits.begin() + 44), Bytes(12, 0xFF));
  for (const char* id : {"2", "-1", "x"})
    EXPECT_EQ(RunCli({"remove", "--db", db.path(), "--yes", id}).code, kFailed) << id;
  Bytes before = spinox::test::ReadBytes(db.File(kHitFile));
  r = RunCli({"remove", "--db", db.path(), "--yes", "0"});
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.err, "song 0 was already removed")) << r.err;
  EXPECT_EQ(spinox::test::ReadBytes(db.File(kHitFile)), before);
  r = RunCli({"edit", "--db", db.path(), "song", "0", "--title", "again"});
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.err, "was removed from the database")) << r.err;
}

}  // namespace
}  // namespace spinox::cli
