#include <gtest/gtest.h>

#include <string>

#include "tests/test_util.h"
#include "tool/cli_test_util.h"
#include "tool/command.h"

namespace spinox::cli {
namespace {

using TagsRun = test::CliRun;

TagsRun RunTags(std::vector<std::string> args) {
  args.insert(args.begin(), "tags");
  return test::RunCli(args);
}

std::string Fixture(const std::string& name) {
  return spinox::test::TestDataPath("tags/" + name);
}

TEST(TagsCommand, PrintsOneBlockPerFileInUtf8) {
  TagsRun r = RunTags({Fixture("lame_latin1.mp3"), Fixture("untagged.mp3")});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out,
            "file: " + Fixture("lame_latin1.mp3") +
                "\ntitle: Café del Mar\nartist: Mötley Crüe\nalbum: Über Alles\ntagged: 1\n\n"
                "file: " +
                Fixture("untagged.mp3") +
                "\ntitle: untagged.mp3\nartist: \nalbum: \ntagged: 0\n\n");
  EXPECT_EQ(r.err, "");
}

TEST(TagsCommand, JsonIsOneArray) {
  TagsRun r = RunTags({"--json", Fixture("ffmpeg_v24.mp3"), Fixture("untagged.mp3")});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "[\n {\"file\": \"" + Fixture("ffmpeg_v24.mp3") +
                       "\", \"title\": \"Ça va\", \"artist\": \"Zoë\", \"album\": \"Naïve Songs\", "
                       "\"tagged\": true},\n {\"file\": \"" +
                       Fixture("untagged.mp3") +
                       "\", \"title\": \"untagged.mp3\", \"artist\": \"\", \"album\": \"\", "
                       "\"tagged\": false}\n]\n");
}

TEST(TagsCommand, UnreadableFilesAreErrorsButTheOthersArePrinted) {
  spinox::test::TempDir dir;
  std::string longPath = dir.path() + "/" + std::string(250, 'x') + ".mp3";
  TagsRun r = RunTags(
      {"--json", dir.File("missing.mp3"), Fixture("oggenc_lower.ogg"), dir.path(), longPath});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("\"title\": \"Señorita\""), std::string::npos);
  EXPECT_EQ(r.out.front(), '[');
  EXPECT_NE(r.err.find("cannot read " + dir.File("missing.mp3")), std::string::npos);
  EXPECT_NE(r.err.find("is a folder"), std::string::npos);
  EXPECT_NE(r.err.find("path longer than 249 bytes"), std::string::npos);

  r = RunTags({"--json", dir.File("missing.mp3")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "[]\n");
}

TEST(TagsCommand, UsageAndHelp) {
  TagsRun r = RunTags({});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("usage: spinox tags"), std::string::npos);
  EXPECT_EQ(RunTags({"--bogus", Fixture("untagged.mp3")}).code, 2);
  r = RunTags({"--help"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("usage: spinox tags [--json] FILE..."), std::string::npos);
}

}  // namespace
}  // namespace spinox::cli
