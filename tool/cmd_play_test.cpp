#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/test_util.h"
#include "tool/args.h"
#include "tool/cli_test_util.h"
#include "tool/command.h"

namespace spinox::cli {
namespace {

using test::CliRun;
using test::RunCli;

class PlayCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    track_ = db_.File("Some Song.mp3");
    spinox::test::WriteBytes(track_, std::vector<unsigned char>(300, 0x55));  // untagged
  }
  spinox::test::TempDatabase db_;
  std::string track_;
};

TEST_F(PlayCommand, SecondPlaySeesTheFirst) {
  CliRun first = RunCli({"play", "--db", db_.path(), "--at", "@1000000", track_});
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_NE(first.out.find("songId:     -1"), std::string::npos) << first.out;
  CliRun second = RunCli({"play", "--db", db_.path(), "--at", "@1000100", "--json", track_});
  ASSERT_EQ(second.code, 0) << second.err;
  EXPECT_NE(second.out.find("\"songId\": 0"), std::string::npos) << second.out;
  EXPECT_NE(second.out.find("\"hits\": 1,"), std::string::npos);
  EXPECT_NE(second.out.find("\"lastPlayed\": 1000000}"), std::string::npos);
  EXPECT_NE(second.out.find("\"title\": \"Some Song.mp3\""), std::string::npos)
      << "the name keeps its case";
  EXPECT_EQ(spinox::test::ReadBytes(db_.File("gen_spinox.hit")).size(), 32u);
}

TEST_F(PlayCommand, InfoRecordsNothing) {
  CliRun r = RunCli({"info", "--db", db_.path(), track_});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(spinox::test::ReadBytes(db_.File("gen_spinox.hit")).empty());
}

TEST_F(PlayCommand, PlayTimesNeverGoBackwards) {
  ASSERT_EQ(RunCli({"play", "--db", db_.path(), "--at", "@2000000", track_}).code, 0);
  CliRun r = RunCli({"play", "--db", db_.path(), "--at", "@1000", "--json", track_});
  EXPECT_NE(r.out.find("\"playTime\": 2000000"), std::string::npos) << r.out;
}

TEST_F(PlayCommand, RefusesBadInput) {
  const std::string db = db_.path();
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"play", "--db", db, db_.File("missing.mp3")}, kFailed},
      {{"play", "--db", db, "--at", "2026-02-30", track_}, kBadUsage},
      {{"play", "--db", db, "--bogus", track_}, kBadUsage},
      {{"play", "--db", db}, kBadUsage},
      {{"dump", "--db", db, "tracks"}, kBadUsage},
      {{"nonsense"}, kBadUsage},
  };
  for (const auto& [args, code] : cases) EXPECT_EQ(RunCli(args).code, code) << args[0];
  CliRun help = RunCli({"play", "--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("usage: spinox play"), std::string::npos);
}

TEST_F(PlayCommand, DumpShowsEveryRecordFile) {
  ASSERT_EQ(RunCli({"play", "--db", db_.path(), "--at", "@1000000", track_}).code, 0);
  CliRun songs = RunCli({"dump", "--db", db_.path(), "--json", "songs"});
  EXPECT_NE(songs.out.find("\"artistId\": 0, \"albumId\": 0, \"title\": \"Some Song.mp3\""),
            std::string::npos)
      << songs.out;
  CliRun hits = RunCli({"dump", "--db", db_.path(), "hits"});
  EXPECT_EQ(hits.out.rfind("0\tsongId=0\tartistId=0\talbumId=0\ttime=1000000", 0), 0u) << hits.out;
}

TEST(DateOption, AcceptsTheDocumentedForms) {
  int32_t t = 0;
  for (auto [text, want] : {std::pair{"@0", 0}, std::pair{"@-5", -5}}) {
    EXPECT_TRUE(ParseDate(text, &t));
    EXPECT_EQ(t, want);
  }
  EXPECT_TRUE(ParseDate("2024-02-29", &t));
  EXPECT_TRUE(ParseDate("2024-02-29T23:59", &t));
  EXPECT_TRUE(ParseDate("2024-02-29T23:59:59", &t));
  int32_t later = 0;
  EXPECT_TRUE(ParseDate("2024-03-01T00:00:00", &later));
  EXPECT_EQ(later - t, 1);
  for (const char* bad :
       {"", "@", "@12x", "@99999999999", "2023-02-29", "2024-13-01", "2024-01-01T24:00", "2024-1-1",
        "2024-01-01T10", "2024-01-01T10:00:5", "2100-01-01"}) {
    EXPECT_FALSE(ParseDate(bad, &t)) << bad;
  }
}

// Dates are local wall-clock times, with daylight saving where the zone has it.
TEST(DateOption, LocalTimesInAZoneWithDaylightSaving) {
  spinox::test::ScopedZone zone("Europe/Berlin");
  const std::pair<const char*, int32_t> cases[] = {
      {"2024-01-15T12:00", 1705316400},     // 11:00 UTC
      {"2024-07-15T12:00", 1721037600},     // 10:00 UTC
      {"2024-03-31T01:59:59", 1711846799},  // the last second of winter time
      {"2024-03-31T03:00:00", 1711846800},  // the next second
  };
  for (auto [text, want] : cases) {
    int32_t t = 0;
    EXPECT_TRUE(ParseDate(text, &t)) << text;
    EXPECT_EQ(t, want) << text;
    std::string shown = std::string(text).replace(10, 1, " ");
    if (shown.size() == 16) shown += ":00";
    EXPECT_EQ(FormatTime(want), shown);
  }
}

}  // namespace
}  // namespace spinox::cli
