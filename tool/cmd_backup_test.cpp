// backup, restore, clear and remove on a database made with `spinox play`.
#include <gtest/gtest.h>

#include "base/file.h"
#include "db/paths.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using test::RunSteps;
using Bytes = std::vector<unsigned char>;

const char* const kRecordFiles[] = {kHitFile, kSongFile, kArtistFile, kAlbumFile};

// Plays of one.mp3, two.mp3 and one.mp3 again, and a settings file of four bytes.
class DatabaseCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t t = 1000000;
    for (const char* name : {"one.mp3", "two.mp3", "one.mp3"})
      ASSERT_EQ(test::PlayUntagged(d, db.File(name), t += 100), 0);
    spinox::test::WriteBytes(db.File(kSettingsFile), Bytes{'S', 'P', 'X', 0});
    spinox::test::WriteBytes(db.File("notes.bak"), Bytes(100, 0x01));
  }
  std::vector<Bytes> Snapshot() const {
    std::vector<Bytes> files;
    for (const char* name : kRecordFiles) files.push_back(spinox::test::ReadBytes(db.File(name)));
    return files;
  }
  spinox::test::TempDatabase db;
  const std::string d = db.path();
};

// Refusals and a No change nothing; clear empties the record files and keeps the settings.
TEST_F(DatabaseCommands, BackupClearAndRestore) {
  const std::vector<Bytes> before = Snapshot();
  const std::string bak = db.File("Spinox-Mar 03, 25,0907.bak");
  RunSteps({{{"backup", "--db", d, "--at", "2025-03-03T09:07"}, kOk, bak + "\n"},
            {{"clear", "--db", d}, kFailed, ""},  // no answer is No
            {{"clear", "--db", d}, kFailed, "", "nope\n"},
            {{"restore", "--db", d, "--yes", db.File("notes.bak")}, kFailed, "not a Spinox backup"},
            {{"restore", "--db", d, "--yes"}, kBadUsage, ""}});
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(FileSize(bak), 32 + 48 + 2 * 416 + 54 + 104);

  const std::string asks = "The current database will be lost. Are you sure? [y/N]";
  RunSteps({{{"clear", "--db", d}, kOk, "", "yes\n"},
            {{"restore", "--db", d, bak}, kFailed, asks, "n\n"}});
  for (const char* name : kRecordFiles) EXPECT_EQ(FileSize(db.File(name)), 0) << name;
  EXPECT_EQ(FileSize(db.File(kSettingsFile)), 4);
  RunSteps({{{"restore", "--db", d, bak}, kOk, "Database Restored Succesfully", "Y\n"}});
  EXPECT_EQ(Snapshot(), before);
}

// A removal asks first; ids that name no live song are refused and change nothing.
TEST_F(DatabaseCommands, RemoveMarksTheSongAndItsPlays) {
  RunSteps({{{"remove", "--db", d, "0"}, kFailed, "", "n\n"},
            {{"remove", "--db", d, "0"},
             kOk,
             "Remove Song from Database: The selected song will be completely removed",
             "y\n"}});
  const Bytes hits = spinox::test::ReadBytes(db.File(kHitFile));
  RunSteps({{{"remove", "--db", d, "--yes", "2"}, kFailed, ""},
            {{"remove", "--db", d, "--yes", "-1"}, kFailed, ""},
            {{"remove", "--db", d, "--yes", "x"}, kFailed, ""},
            {{"remove", "--db", d, "--yes", "0"}, kFailed, "song 0 was already removed"},
            {{"edit", "--db", d, "song", "0", "--title", "again"},
             kFailed,
             "was removed from the database"}});
  EXPECT_EQ(spinox::test::ReadBytes(db.File(kHitFile)), hits);
}

}  // namespace
}  // namespace spinox::cli
