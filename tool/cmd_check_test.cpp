#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using test::CliRun;
using test::Contains;
using test::RunCli;

// A database of one play, then a torn record at the end of its hit file.
TEST(CheckCommand, ReportsRepairsAndSaysSo) {
  spinox::test::TempDir dir;
  std::string db = dir.File("db");
  ASSERT_EQ(test::PlayUntagged(dir.path(), dir.File("song.mp3"), 1000000), 0);
  CliRun r = RunCli({"check", "--db", dir.path()});
  EXPECT_EQ(r.code, kOk) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "1 songs, 1 albums, 1 artists, 1 plays\nno problems found\n"));

  std::vector<unsigned char> hits = spinox::test::ReadBytes(dir.File("gen_spinox.hit"));
  hits.insert(hits.end(), {1, 2, 3});
  spinox::test::WriteBytes(dir.File("gen_spinox.hit"), hits);
  const struct {
    std::vector<std::string> options;
    int code;
    const char* says;
  } kRuns[] = {
      {{},
       kFailed,
       "gen_spinox.hit record 1: 3 bytes of a record cut short end the file\n"
       "1 problem(s) found; 1 can be mended with --repair\n"},
      {{"--json"}, kFailed, "\"problems\": {\"torn-tail\": 1}"},
      {{"--repair"}, kOk, "repaired: cut the 3 bytes of a torn record off "},
      {{}, kOk, "no problems found"},
  };
  for (const auto& run : kRuns) {
    std::vector<std::string> args = {"check", "--db", dir.path()};
    args.insert(args.end(), run.options.begin(), run.options.end());
    r = RunCli(args);
    EXPECT_EQ(r.code, run.code) << r.out << r.err;
    EXPECT_TRUE(Contains(r.out, run.says)) << r.out;
  }
  EXPECT_EQ(spinox::test::ReadBytes(dir.File("gen_spinox.hit")).size(), 16u);

  r = RunCli({"check", "--db", db});
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.err, "no database in " + db));
  EXPECT_TRUE(Contains(RunCli({"check", "--help"}).out, "--repair"));
}

// A change cut short is reported, then undone by --repair, one line for each thing done.
TEST(CheckCommand, RepairUndoesAChangeCutShortLineByLine) {
  spinox::test::TempDir dir;
  ASSERT_EQ(test::PlayUntagged(dir.path(), dir.File("song.mp3"), 1000000), 0);
  std::vector<unsigned char> hits = spinox::test::ReadBytes(dir.File("gen_spinox.hit"));
  spinox::test::WriteBytes(dir.File("gen_spinox.hit.old"), hits);
  spinox::test::WriteBytes(dir.File("gen_spinox.hit"), {});
  spinox::test::WriteBytes(dir.File("gen_spinox.sng.new"), {1});
  std::string journal = "spinox journal 1\ngen_spinox.hit 1\nend\n";
  spinox::test::WriteBytes(dir.File("gen_spinox.jnl"), {journal.begin(), journal.end()});

  CliRun r = RunCli({"check", "--db", dir.path()});
  EXPECT_EQ(r.code, kFailed);
  EXPECT_TRUE(Contains(r.out, "gen_spinox.jnl: a change to several record files was cut short"));
  r = RunCli({"check", "--db", dir.path(), "--repair"});
  EXPECT_EQ(r.code, kOk) << r.err;
  EXPECT_TRUE(Contains(r.out,
                       "repaired: undid an unfinished change of gen_spinox.hit\n"
                       "repaired: removed the leftover file '" +
                           dir.File("gen_spinox.sng.new") + "'\ndatabase "))
      << r.out;
  EXPECT_EQ(spinox::test::ReadBytes(dir.File("gen_spinox.hit")), hits);
}

}  // namespace
}  // namespace spinox::cli
