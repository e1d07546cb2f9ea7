#include <gtest/gtest.h>

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
  RunSteps(
      {{{"check", "--db", d}, kOk, "1 songs, 1 albums, 1 artists, 1 plays\nno problems found\n"},
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

// A change cut short is reported, then undone by --repair, one line for each thing done.
TEST(CheckCommand, RepairUndoesAChangeCutShortLineByLine) {
  spinox::test::TempDir dir;
  ASSERT_EQ(test::PlayUntagged(dir.path(), dir.File("song.mp3"), 1000000), 0);
  const Bytes hits = spinox::test::ReadBytes(dir.File("gen_spinox.hit"));
  spinox::test::WriteBytes(dir.File("gen_spinox.hit.old"), hits);
  spinox::test::WriteBytes(dir.File("gen_spinox.hit"), {});
  spinox::test::WriteBytes(dir.File("gen_spinox.sng.new"), {1});
  const std::string journal = "spinox journal 1\ngen_spinox.hit 1\nend\n";
  spinox::test::WriteBytes(dir.File("gen_spinox.jnl"), {journal.begin(), journal.end()});
  RunSteps({{{"check", "--db", dir.path()},
             kFailed,
             "gen_spinox.jnl: a change to several record files was cut short"},
            {{"check", "--db", dir.path(), "--repair"},
             kOk,
             "repaired: undid an unfinished change of gen_spinox.hit\n"
             "repaired: removed the leftover file '" +
                 dir.File("gen_spinox.sng.new") + "'\ndatabase "}});
  EXPECT_EQ(spinox::test::ReadBytes(dir.File("gen_spinox.hit")), hits);
}

}  // namespace
}  // namespace spinox::cli
