// chart, m3u, html and osd on a database made with `spinox play`.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file.h"
#include "tags/tag_test_util.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"
#include "tool/command.h"

namespace spinox::cli {
namespace {

using spinox::test::operator+;
using test::CliRun;
using test::Contains;
using test::RunCli;
using Args = std::vector<std::string>;

// A track with an ID3v1 tag: audio, then title, artist and album.
std::vector<unsigned char> TaggedTrack(const std::string& title, const std::string& artist,
                                       const std::string& album) {
  return spinox::test::Audio(300) + spinox::test::Id3v1(title, artist, album);
}

constexpr int32_t kNow = 1000000, kWeek = 604800;

// Untagged a, b and c: in the week before kNow "b" twice and "a" once; in the week before that
// "a" three times and "c" once.
class ChartCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a", "b", "c"}) Put(name, std::vector<unsigned char>(300, 1));
    const int32_t ago[] = {kWeek + 500, kWeek + 400, kWeek + 300, kWeek + 200, 300, 200, 100};
    for (int i = 0; i < 7; ++i) Play(std::string(1, "aacabab"[i]), kNow - ago[i]);
  }
  void Put(const std::string& name, const std::vector<unsigned char>& bytes) {
    spinox::test::WriteBytes(db_.File(name + ".mp3"), bytes);
  }
  void Play(const std::string& name, int32_t at) {
    CliRun r =
        RunCli({"play", "--db", d, "--at", "@" + std::to_string(at), db_.File(name + ".mp3")});
    ASSERT_EQ(r.code, kOk) << r.err;
  }
  // `command` at kNow with `extra`; the output, or the error when it fails.
  std::string Run(Args extra, const char* command = "chart") {
    Args args = {command, "--db", d, "--now", "@" + std::to_string(kNow)};
    args.insert(args.end(), extra.begin(), extra.end());
    CliRun r = RunCli(args);
    EXPECT_EQ(r.code, kOk) << r.err;
    return r.code == kOk ? r.out : r.err;
  }
  spinox::test::TempDatabase db_;
  const std::string d = db_.path();
};

const char kCsvHead[] = "#,Title,Artist,Album,Hits\n";

TEST_F(ChartCommand, PeriodsStepsAndFormats) {
  const std::pair<Args, std::string> cases[] = {
      {{"--period", "week", "--prev", "--change", "--format", "csv"},
       "#,Prev,Chng,Title,Artist,Album,Hits\n1,-,*,b.mp3,,,2\n2,1,-1,a.mp3,,,1\n"},
      {{"--period", "week", "--step", "-1", "--format", "csv", "--top", "1"},
       std::string(kCsvHead) + "1,a.mp3,,,3\n"},
      {{"--type", "artists", "--period", "all", "--format", "json"},
       "\"columns\": [\"#\", \"Artist\", \"Hits\"]"},
      {{"--type", "artists", "--period", "all", "--format", "json"}, "[\"1\", \"\", \"7\"]"},
      {{"--type", "log", "--period", "all", "--top", "2"}, "Last 2 played \n"},
      {{"--type", "log", "--period", "all", "--top", "2"}, "b.mp3"},
      {{"--artist", "", "--format", "csv"},
       std::string(kCsvHead) + "1,b.mp3,,,2\n2,a.mp3,,,1\n"},  // the untagged files' artist
      {{"--period", "range", "--from", "@5", "--to", "@5"}, "Top 0 Songs"},
  };
  for (const auto& [args, says] : cases) {
    std::string out = Run(args);
    EXPECT_TRUE(Contains(out, says)) << out;
  }
}

// The entries are relative to the playlist's own folder. A tagged track is known by its tag
// (untagged ones by the file name alone), so only the entry joined to that folder finds it.
TEST_F(ChartCommand, PlaylistFilterFromAnM3uFile) {
  Put("d", TaggedTrack("Dancing Queen", "Abba", "Arrival"));
  for (int32_t at : {kNow - 50, kNow - 40, kNow - 30}) Play("d", at);
  Put("Bj\xC3\xB6rk", std::vector<unsigned char>(300, 1));
  for (int32_t at : {kNow - 60, kNow - 50, kNow - 40, kNow - 30}) Play("Bj\xC3\xB6rk", at);
  std::filesystem::create_directory(db_.File("lists"));
  // An .m3u in the ANSI code page (a UTF-8 line taken as such), an .m3u8 in UTF-8.
  const std::pair<const char*, std::string> kLists[] = {
      {"list.m3u", "#x\n../c.mp3\r\n../b.mp3\n../d.mp3\n../Bj\xF6rk.mp3\n"},
      {"list.m3u", "../c.mp3\n../b.mp3\n../d.mp3\n../Bj\xC3\xB6rk.mp3\n"},
      {"list.m3u8", "\xEF\xBB\xBF../c.mp3\n../b.mp3\n../d.mp3\n../Bj\xC3\xB6rk.mp3\n"},
  };
  for (const auto& [name, list] : kLists) {
    spinox::test::WriteBytes(db_.File("lists/") + name, {list.begin(), list.end()});
    EXPECT_EQ(Run({"--period", "all", "--playlist", db_.File("lists/") + name, "--format", "csv"}),
              std::string(kCsvHead) +
                  "1,Bj\xC3\xB6rk.mp3,,,4\n2,Dancing Queen,Abba,Arrival,3\n3,b.mp3,,,2\n"
                  "4,c.mp3,,,1\n")
        << list;
  }
}

// An album is named "ARTIST - ALBUM" in any case. A field holding a comma or a quote is
// quoted, its quotes doubled.
TEST_F(ChartCommand, AlbumNamesAndCsvQuotes) {
  Put("d", TaggedTrack("Dancing Queen", "Abba", "Arrival"));
  Put("w", TaggedTrack("Waterloo", "Abba", "Gold"));
  Put("e", TaggedTrack("Say \"Hi\", Bye", "A,B", "Plain"));
  for (auto [name, at] : {std::pair{"d", kNow - 50},
                          {"w", kNow - 40},
                          {"d", kNow - 30},
                          {"e", kNow - 25},
                          {"e", kNow - 20},
                          {"e", kNow - 15}})
    Play(name, at);
  const std::pair<Args, std::string> cases[] = {
      {{"--album", "Abba - Arrival"}, std::string(kCsvHead) + "1,Dancing Queen,Abba,Arrival,2\n"},
      {{"--album", "abba - gold"}, std::string(kCsvHead) + "1,Waterloo,Abba,Gold,1\n"},
      {{"--top", "1"}, std::string(kCsvHead) + "1,\"Say \"\"Hi\"\", Bye\",\"A,B\",Plain,3\n"},
  };
  for (auto [args, csv] : cases) {
    args.insert(args.end(), {"--period", "day", "--format", "csv"});
    EXPECT_EQ(Run(args), csv) << args[1];
  }
}

// Options that are malformed, name nothing, or give a period that cannot be, are errors that
// say why, never a chart titled as if they had been applied.
TEST_F(ChartCommand, FiltersAndDatesThatNameNothingAreErrors) {
  spinox::test::WriteBytes(db_.File("empty.m3u"), {'#', 'x', '\n'});
  const std::string outside = "is outside the times the files can hold: ";
  const struct {
    Args options;
    int code;
    std::string says;
  } cases[] = {
      {{"--artist", "nobody"}, kFailed, "no artist 'nobody' in "},
      {{"--album", "nobody - nothing"}, kFailed, "no album 'nobody - nothing' in "},
      {{"--album", "nothing"}, kFailed, "(give \"ARTIST - ALBUM\")"},
      {{"--playlist", db_.File("empty.m3u")}, kFailed, "names no tracks"},
      {{"--playlist", db_.File("none.m3u")}, kFailed, "cannot read playlist"},
      {{"--from", "2020-02-01", "--to", "2020-01-01"}, kBadUsage, "2020-02-01 is later than --to"},
      {{"--from", "2020-01-01", "--to", "2040-01-01"},
       kBadUsage,
       "--to '2040-01-01' " + outside + "1901-12-13 20:45:52 to 2038-01-19 03:14:07 UTC"},
      {{"--now", "@2147483648"}, kBadUsage, "--now '@2147483648' " + outside},
      {{"--period", "all", "--step", "-1"}, kBadUsage, ""},
      {{"--type", "tracks"}, kBadUsage, ""},
      {{"--period", "range", "--from", "2020-01-01"}, kBadUsage, ""},
      {{"--top", "0"}, kBadUsage, ""},
      {{"--type", "artists", "--artist", "x"}, kBadUsage, ""},
      {{"--album", "a - b", "--artist", "x"}, kBadUsage, ""},
  };
  for (const auto& c : cases) {
    Args args = {"chart", "--db", d};
    args.insert(args.end(), c.options.begin(), c.options.end());
    CliRun r = RunCli(args);
    EXPECT_EQ(r.code, c.code) << c.says;
    EXPECT_TRUE(Contains(r.err, c.says)) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

// Names are shown harmlessly: a control character in a stored name cannot reach the terminal.
TEST_F(ChartCommand, ControlCharactersInNamesAreShownEscaped) {
  const std::string odd = db_.File("x\x1b[2J\ty\x7f.mp3"), shown = "x\\x1B[2J\\x09y\\x7F.mp3";
  spinox::test::WriteBytes(odd, std::vector<unsigned char>(300, 1));
  ASSERT_EQ(RunCli({"play", "--db", d, "--at", "@999000", odd}).code, kOk);
  const std::pair<std::string, std::string> cases[] = {
      {Run({"--period", "week"}), shown},
      {RunCli({"info", "--db", d, odd}).out, "title:      " + shown + "\n"},
  };
  for (const auto& [out, says] : cases) {
    EXPECT_TRUE(Contains(out, says)) << out;
    EXPECT_FALSE(Contains(out, "\x1b")) << out;
  }
}

TEST_F(ChartCommand, M3uListsTheFilesInChartOrder) {
  Run({"--period", "week", "-o", db_.File("out.m3u")}, "m3u");
  EXPECT_EQ(spinox::test::ReadText(db_.File("out.m3u")),
            db_.File("b.mp3") + "\r\n" + db_.File("a.mp3") + "\r\n");
}

// a is not in a top 1; the default template of an untagged track shows no names.
TEST_F(ChartCommand, DisplayTextOfATrack) {
  const std::string all = "%title %hits %hitsweek %hourspast %hitlistpos\\n%dayspast";
  const struct {
    Args args;
    const char* out;
  } cases[] = {
      {{"--period", "week", "--template", all, db_.File("a.mp3")}, "a.mp3 4 1 3 mins 2\n0\n"},
      {{"--period", "week", "--top", "1", "--template", "%hitlistpos", db_.File("a.mp3")}, "-\n"},
      {{db_.File("c.mp3")}, "c.mp3 (1)\n (7)\n (7)\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.args, "osd"), c.out) << c.args.back();
}

}  // namespace
}  // namespace spinox::cli
