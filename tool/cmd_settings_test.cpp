// settings and convert.
#include <gtest/gtest.h>

#include "base/file.h"
#include "base/text.h"
#include "db/paths.h"
#include "db/test_records.h"
#include "settings/settings.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using spinox::test::Bytes;
using test::Contains;
using test::RunCli;
using test::RunSteps;

TEST(SettingsCommand, PrintsEveryFieldByName) {
  spinox::test::TempDatabase db;
  auto r = RunCli({"settings", "--db", db.path(), "--defaults"});
  ASSERT_EQ(r.code, kOk) << r.err;
  for (const SettingsField& f : SettingsFields())
    EXPECT_TRUE(Contains(r.out, std::string("\n") + f.name + " ")) << f.name;
  for (const char* line : {"\n_addTime         60\n", "\n_htm_top_bg      10485760 (#0000a0)\n",
                           "\n_txt_text        %title (%hits)\\n%artist"})
    EXPECT_TRUE(Contains(r.out, line)) << line;

  Settings rec = DefaultSettings();
  rec._addTime = -50;
  SetField(rec._txt_font, "Tahoma \"Bold\"");
  ASSERT_TRUE(WriteSettingsFile(db.File(kSettingsFile), rec));
  r = RunCli({"settings", "--db", db.path(), "--json"});
  ASSERT_EQ(r.code, kOk) << r.err;
  for (const char* part :
       {"\"bytes\": 3766", "\"_addTime\": -50,", "\"_txt_font\": \"Tahoma \\\"Bold\\\"\",",
        "\"hitlist_window\": [100, 100, 500, 400],", "\"_highlight\": 0\n}}"})
    EXPECT_TRUE(Contains(r.out, part)) << part;
}

TEST(SettingsCommand, ShortAndForeignFiles) {
  spinox::test::TempDatabase db;
  EXPECT_EQ(RunCli({"settings", "--db", db.path()}).code, kFailed);  // none yet
  spinox::test::PutFile(db.File(kSettingsFile), Bytes{'S', 'P', 'X', 0});
  spinox::test::PutFile(db.File("other.dat"), Bytes(3766, 0));
  RunSteps({{{"settings", "--db", db.path()}, kOk, "fields past byte 4 show their defaults"},
            {{"settings", "--db", db.path()}, kOk, "\n_skip            1\n"},
            {{"settings", db.File("other.dat")}, kFailed, "not a settings file"},
            {{"settings", "--defaults", "x"}, kBadUsage, ""}});
}

Bytes Word(int32_t v) {
  Bytes b;
  spinox::test::PutWord(&b, static_cast<uint32_t>(v));
  return b;
}

// Only a whole old database is converted; a damaged one and a settings file are left alone.
TEST(ConvertCommand, ConvertsOnlyAnOldDatabase) {
  spinox::test::TempDatabase db;
  const Bytes song = spinox::test::SongBytes({0, 0, 0, "t", "a", "b", "/f", 5});
  const Bytes old =
      spinox::test::Join({Word(3), Bytes{1, 2, 3}, Word(1), spinox::test::HitBytes(0, 0, 0, 5),
                          Word(1), song, Word(0), Word(0)});
  spinox::test::PutFile(db.File(kSongFile), Bytes(416 * 3, 0x33));
  spinox::test::PutFile(db.File(kSettingsFile), Bytes(old.begin(), old.end() - 1));
  RunSteps({{{"convert", "--db", db.path()}, kFailed, "not an old database"}});
  EXPECT_EQ(FileSize(db.File(kSongFile)), 416 * 3);
  EXPECT_EQ(FileSize(db.File(kSettingsFile)), static_cast<int64_t>(old.size() - 1));

  spinox::test::PutFile(db.File(kSettingsFile), old);
  RunSteps(
      {{{"convert", "--db", db.path()}, kOk, "converted: 1 hits, 1 songs, 0 artists, 0 albums\n"},
       {{"convert", "--db", db.path()}, kFailed, "is a settings file"}});
}

}  // namespace
}  // namespace spinox::cli
