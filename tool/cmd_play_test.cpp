#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_util.h"
#include "tool/args.h"
#include "tool/cli_test_util.h"
#include "tool/command.h"

namespace spinox::cli {
namespace {

using test::RunCli;

class PlayCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    spinox::test::WriteBytes(track, std::vector<unsigned char>(300, 0x55));  // untagged
  }
  std::string Json(const char* command, const char* at) {
    test::CliRun r = RunCli({command, "--db", db.path(), "--at", at, "--json", track});
    EXPECT_EQ(r.code, kOk) << r.err;
    return r.out;
  }
  std::string Stats(int id, int hits, int32_t played, int32_t last) {
    const std::string n = std::to_string(hits);
    return "{\"title\": \"Some Song.mp3\", \"artist\": \"\", \"album\": \"\", \"file\": \"" +
           track + "\",\n \"songId\": " + std::to_string(id) +
           ", \"artistId\": " + std::to_string(id) + ", \"albumId\": " + std::to_string(id) +
           ",\n \"hits\": " + n + ", \"hitsDay\": " + n + ", \"hitsWeek\": " + n +
           ", \"hitsMonth\": " + n + ", \"hitsYear\": " + n + ", \"hitsAlbum\": " + n +
           ", \"hitsArtist\": " + n + ",\n \"playTime\": " + std::to_string(played) +
           ", \"lastPlayed\": " + std::to_string(last) + "}\n";
  }
  size_t HitBytes() const { return spinox::test::ReadBytes(db.File("gen_spinox.hit")).size(); }
  spinox::test::TempDatabase db;
  const std::string track = db.File("Some Song.mp3");
};

// Each call shows the statistics from before its play; info records nothing; a play time never
// goes back before the last one; the name keeps its case.
TEST_F(PlayCommand, EachPlaySeesTheOnesBefore) {
  EXPECT_EQ(Json("info", "@1000000"), Stats(-1, 0, 1000000, 0));
  EXPECT_EQ(HitBytes(), 0u);
  EXPECT_EQ(Json("play", "@1000000"), Stats(-1, 0, 1000000, 0));
  EXPECT_EQ(Json("play", "@1000100"), Stats(0, 1, 1000100, 1000000));
  EXPECT_EQ(Json("play", "@1000"), Stats(0, 2, 1000100, 1000100));
  EXPECT_EQ(HitBytes(), 48u);
  test::CliRun hits = RunCli({"dump", "--db", db.path(), "hits"});
  EXPECT_EQ(hits.out.rfind("0\tsongId=0\tartistId=0\talbumId=0\ttime=1000000", 0), 0u) << hits.out;
  test::CliRun songs = RunCli({"dump", "--db", db.path(), "--json", "songs"});
  EXPECT_TRUE(
      test::Contains(songs.out, "\"artistId\": 0, \"albumId\": 0, \"title\": \"Some Song.mp3\""))
      << songs.out;
}

TEST_F(PlayCommand, RefusesBadInput) {
  const std::string d = db.path();
  test::RunSteps({
      {{"play", "--db", d, db.File("missing.mp3")}, kFailed, "cannot read '"},
      {{"play", "--db", d, "--at", "2026-02-30", track}, kBadUsage, "2026-02-30"},
      {{"play", "--db", d, "--bogus", track}, kBadUsage, "--bogus"},
      {{"play", "--db", d}, kBadUsage, "give one FILE"},
      {{"dump", "--db", d, "tracks"}, kBadUsage, "tracks"},
      {{"nonsense"}, kBadUsage, "nonsense"},
      {{"play", "--help"}, kOk, "usage: spinox play"},
  });
  EXPECT_EQ(HitBytes(), 0u);
}

// Dates are local wall-clock times, with daylight saving where the zone has it.
TEST(DateOption, FormsAndLocalTimesInAZoneWithDaylightSaving) {
  spinox::test::ScopedZone zone("Europe/Berlin");
  const std::pair<const char*, int32_t> good[] = {
      {"@0", 0},
      {"@-5", -5},
      {"2024-02-29", 1709161200},
      {"2024-02-29T23:59:59", 1709247599},
      {"2024-03-01T00:00", 1709247600},
      {"2024-01-15T12:00", 1705316400},     // 11:00 UTC
      {"2024-07-15T12:00", 1721037600},     // 10:00 UTC
      {"2024-03-31T01:59:59", 1711846799},  // the last second of winter time
      {"2024-03-31T03:00:00", 1711846800},  // the next second
  };
  for (auto [text, want] : good) {
    int32_t t = 7;
    EXPECT_TRUE(ParseDate(text, &t)) << text;
    EXPECT_EQ(t, want) << text;
  }
  EXPECT_EQ(FormatTime(1721037600), "2024-07-15 12:00:00");
  EXPECT_EQ(FormatTime(1711846799), "2024-03-31 01:59:59");
  for (const char* bad :
       {"", "@", "@12x", "@99999999999", "2023-02-29", "2024-13-01", "2024-01-01T24:00", "2024-1-1",
        "2024-01-01T10", "2024-01-01T10:00:5", "2100-01-01"}) {
    int32_t t = 0;
    EXPECT_FALSE(ParseDate(bad, &t)) << bad;
  }
}

}  // namespace
}  // namespace spinox::cli
