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

TEST(SettingsCommand, PrintsEveryFieldByName) {
  spinox::test::TempDatabase db;
  auto r = RunCli({"settings", "--db", db.path(), "--defaults"});
  ASSERT_EQ(r.code, 0) << r.err;
  for (const SettingsField& f : SettingsFields())
    EXPECT_TRUE(Contains(r.out, std::string("\n") + f.name + " ")) << f.name;
  EXPECT_TRUE(Contains(r.out, "\n_addTime         60\n"));
  EXPECT_TRUE(Contains(r.out, "\n_htm_top_bg      10485760 (#0000a0)\n"));
  EXPECT_TRUE(Contains(r.out, "\n_txt_text        %title (%hits)\\n%artist"));

  Settings rec = DefaultSettings();
  rec._addTime = -50;
  SetField(rec._txt_font, "Tahoma \"Bold\"");
  ASSERT_TRUE(WriteSettingsFile(db.File(kSettingsFile), rec));
  r = RunCli({"settings", "--db", db.path(), "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "\"bytes\": 3766"));
  EXPECT_TRUE(Contains(r.out, "\"_addTime\": -50,"));
  EXPECT_TRUE(Contains(r.out, "\"_txt_font\": \"Tahoma \\\"Bold\\\"\","));
  EXPECT_TRUE(Contains(r.out, "\"hitlist_window\": [100, 100, 500, 400],"));
  EXPECT_TRUE(Contains(r.out, "\"_highlight\": 0\n}}"));
}

TEST(SettingsCommand, ShortAndForeignFiles) {
  spinox::test::TempDatabase db;
  EXPECT_EQ(RunCli({"settings", "--db", db.path()}).code, kFailed);  // none yet
  spinox::test::PutFile(db.File(kSettingsFile), Bytes{'S', 'P', 'X', 0});
  auto r = RunCli({"settings", "--db", db.path()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "fields past byte 4 show their defaults"));
  EXPECT_TRUE(Contains(r.out, "\n_skip            1\n"));
  spinox::test::PutFile(db.File("other.dat"), Bytes(3766, 0));
  r = RunCli({"settings", db.File("other.dat")});
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.err, "not a settings file"));
  EXPECT_EQ(RunCli({"settings", "--defaults", "x"}).code, kBadUsage);
}

Bytes Word(int32_t v) {
  Bytes b;
  spinox::test::PutWord(&b, static_cast<uint32_t>(v));
  return b;
}

TEST(ConvertCommand, ConvertsOnlyAnOldDatabase) {
  spinox::test::TempDatabase db;
  Bytes song = spinox::test::SongBytes({0, 0, 0, "t", "a", "b", "/f", 5});
  Bytes old =
      spinox::test::Join({Word(3), Bytes{1, 2, 3}, Word(1), spinox::test::HitBytes(0, 0, 0, 5),
                          Word(1), song, Word(0), Word(0)});
  spinox::test::PutFile(db.File(kSongFile), Bytes(416 * 3, 0x33));

  spinox::test::PutFile(db.File(kSettingsFile), Bytes(old.begin(), old.end() - 1));  // damaged
  auto r = RunCli({"convert", "--db", db.path()});
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.err, "not an old database"));
  EXPECT_EQ(FileSize(db.File(kSongFile)), 416 * 3);
  EXPECT_EQ(FileSize(db.File(kSettingsFile)), static_cast<int64_t>(old.size() - 1));

  spinox::test::PutFile(db.File(kSettingsFile), old);
  r = RunCli({"convert", "--db", db.path()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "converted: 1 hits, 1 songs, 0 artists, 0 albums\n");
  EXPECT_EQ(spinox::test::ReadBytes(db.File(kSongFile)), song);
  EXPECT_EQ(FileSize(db.File(kArtistFile)), 0);
  EXPECT_EQ(FileSize(db.File(kSettingsFile)), 4);

  r = RunCli({"convert", "--db", db.path()});  // now a settings file
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.err, "is a settings file"));
}

}  // namespace
}  // namespace spinox::cli
