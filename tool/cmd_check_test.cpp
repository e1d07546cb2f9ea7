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

}  // namespace
}  // namespace spinox::cli
