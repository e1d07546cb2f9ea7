#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using Bytes = std::vector<unsigned char>;
using test::RunSteps;

// A database of one play, then a torn record at the end of its hit file.
TEST(CheckCommand, ReportsRepairsAndSaysSo) {
  spinox::test::TempDir dir;
  const std::string d = dir.path(), hitFile = dir.File("gen_spinox.hit");
  ASSERT_EQ(test::PlayUntagged(d, dir.File("song.mp3"), 1000000), 0);
  RunSteps({{{"check", "--db", d},
             kOk,
             "1 songs, 1 albums, 1 artists, 1 plays\ntexts: UTF-8\nno problems found\n"},
            {{"check", "--db", dir.File("db")}, kFailed, "no database in " + dir.File("db")}});
  Bytes hits = spinox::test::ReadBytes(hitFile);
  hits.insert(hits.end(), {1, 2, 3});
  spinox::test::WriteBytes(hitFile, hits);
  RunSteps(
      {{{"check", "--db", d},
        kFailed,
        "gen_spinox.hit record 1: 3 bytes of a record cut short end the file\n"
        "1 problem(s) found; 1 can be mended with --repair\n"},
       {{"check", "--db", d, "--json"}, kFailed, "\"problems\": {\"torn-tail\": 1}"},
       {{"check", "--db", d, "--repair"}, kOk, "repaired: cut the 3 bytes of a torn record off "},
       {{"check", "--db", d}, kOk, "no problems found"}});
  EXPECT_EQ(spinox::test::ReadBytes(hitFile).size(), 16u);
}

// The folder of an earlier version's database (tests/data/ansi_db) as the tool finds it.
void PutAnsiDatabase(const std::string& dir) {
  for (const char* name :
       {"gen_spinox.hit", "gen_spinox.sng", "gen_spinox.art", "gen_spinox.alb", "gen_spinox.dat"})
    std::filesystem::copy_file(spinox::test::TestDataPath(std::string("ansi_db/") + name),
                               dir + "/" + name);
}

// Commands that only read leave an earlier version's database as it is and read it by its
// encoding; the first command that writes converts it, and says so.
TEST(CheckCommand, KnowsBothEncodingsAndOnlyWritersConvert) {
  spinox::test::TempDir dir;
  const std::string d = dir.path(), artists = dir.File("gen_spinox.art");
  PutAnsiDatabase(d);
  const Bytes ansi = spinox::test::ReadBytes(artists);
  spinox::test::WriteBytes(dir.File("x.mp3"), Bytes(300, 0x55));
  RunSteps({
      {{"check", "--db", d},
       kOk,
       "9 plays\ntexts: ANSI code page (windows-1252), converted at the next start\n"},
      {{"check", "--db", d, "--json"}, kOk, "\"texts\": \"windows-1252\""},
      {{"dump", "--db", d, "artists"}, kOk, "name=Bj\xc3\xb6rk\n"},
      {{"chart", "--db", d, "--period", "all", "--format", "csv"}, kOk, "Bj\xc3\xb6rk"},
      {{"settings", "--db", d}, kOk, "Trebuchet MS"},
      {{"info", "--db", d, dir.File("x.mp3")}, kOk, ""},
      {{"backup", "--db", d}, kOk, ""},
  });
  EXPECT_EQ(spinox::test::ReadBytes(artists), ansi);
  EXPECT_FALSE(std::filesystem::exists(dir.File("gen_spinox.utf8")));
  RunSteps({
      {{"play", "--db", d, dir.File("x.mp3")},
       kOk,
       "converted the database's texts from "
       "windows-1252 to UTF-8 (backup: "},
      {{"check", "--db", d}, kOk, "10 plays\ntexts: UTF-8\nno problems found"},
  });
  // A text that is not UTF-8 in a UTF-8 folder (another program wrote it) is named.
  Bytes bad = spinox::test::ReadBytes(artists);
  bad[54 + 4 + 2] = 0xF6;
  spinox::test::WriteBytes(artists, bad);
  RunSteps({{{"check", "--db", d},
             kFailed,
             "gen_spinox.art record 1: its name is not well-formed UTF-8\n"},
            {{"check", "--db", d, "--json"}, kFailed, "\"not-utf8\": 1"}});
}

// convert carries the texts over on demand, once; restoring the earlier version's backup it made
// gives the converted texts again.
TEST(CheckCommand, ConvertAndRestoreCarryTheTextsOver) {
  spinox::test::TempDir dir;
  const std::string d = dir.path();
  PutAnsiDatabase(d);
  RunSteps({
      {{"convert", "--db", d}, kOk, "converted the texts from windows-1252 to UTF-8; the "},
      {{"convert", "--db", d}, kFailed, "is a settings file: nothing to convert"},
      {{"dump", "--db", d, "artists"}, kOk, "name=Bj\xc3\xb6rk\n"},
  });
  const Bytes converted = spinox::test::ReadBytes(dir.File("gen_spinox.art"));
  std::string backup;
  for (const auto& entry : std::filesystem::directory_iterator(d))
    if (entry.path().extension() == ".bak") backup = entry.path().string();
  ASSERT_NE(backup, "");
  RunSteps({
      {{"clear", "--db", d, "--yes"}, kOk, ""},
      {{"restore", "--db", d, "--yes", backup}, kOk, "Restored"},
      {{"check", "--db", d}, kOk, "9 plays\ntexts: UTF-8\nno problems found"},
  });
  EXPECT_EQ(spinox::test::ReadBytes(dir.File("gen_spinox.art")), converted);
}

}  // namespace
}  // namespace spinox::cli
