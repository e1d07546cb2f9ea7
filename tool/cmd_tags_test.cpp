#include <gtest/gtest.h>

#include <string>

#include "tests/test_util.h"
#include "tool/cli_test_util.h"
#include "tool/command.h"

namespace spinox::cli {
namespace {

std::string Fixture(const std::string& name) {
  return spinox::test::TestDataPath("tags/" + name);
}

// One block (or JSON object) per file, in UTF-8; a file that cannot be read is an error that
// names it, and the others are still printed.
TEST(TagsCommand, PrintsEachFileInUtf8) {
  spinox::test::TempDir dir;
  const std::string missing = dir.File("missing.mp3"), untagged = Fixture("untagged.mp3");
  const std::string longPath = dir.path() + "/" + std::string(250, 'x') + ".mp3";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string out;
    std::vector<std::string> errors;
  } kRuns[] = {
      {{Fixture("lame_latin1.mp3")},
       kOk,
       "file: " + Fixture("lame_latin1.mp3") +
           "\ntitle: Café del Mar\nartist: Mötley Crüe\nalbum: Über Alles\ntagged: 1\n\n",
       {}},
      {{"--json", Fixture("ffmpeg_v24.mp3"), untagged},
       kOk,
       "[\n {\"file\": \"" + Fixture("ffmpeg_v24.mp3") +
           "\", \"title\": \"Ça va\", \"artist\": \"Zoë\", \"album\": \"Naïve Songs\", "
           "\"tagged\": true},\n {\"file\": \"" +
           untagged +
           "\", \"title\": \"untagged.mp3\", \"artist\": \"\", \"album\": \"\", "
           "\"tagged\": false}\n]\n",
       {}},
      {{"--json", missing, Fixture("oggenc_lower.ogg"), dir.path(), longPath},
       kFailed,
       "[\n {\"file\": \"" + Fixture("oggenc_lower.ogg") +
           "\", \"title\": \"Señorita\", \"artist\": \"Björk\", \"album\": \"Homogenic\", "
           "\"tagged\": true}\n]\n",
       {"cannot read " + missing, "is a folder", "path longer than 249 bytes"}},
      {{}, kBadUsage, "", {"usage: spinox tags"}},
      {{"--bogus", untagged}, kBadUsage, "", {"--bogus"}},
  };
  for (const auto& run : kRuns) {
    std::vector<std::string> args = run.args;
    args.insert(args.begin(), "tags");
    test::CliRun r = test::RunCli(args);
    EXPECT_EQ(r.code, run.code) << r.err;
    EXPECT_EQ(r.out, run.out);
    for (const std::string& e : run.errors) EXPECT_TRUE(test::Contains(r.err, e)) << r.err;
    if (run.errors.empty()) {
      EXPECT_EQ(r.err, "");
    }
  }
}

}  // namespace
}  // namespace spinox::cli
