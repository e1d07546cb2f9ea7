#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "db/records.h"
#include "hitlist/test_db.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"
#include "tool/command.h"

namespace spinox::cli {
namespace {

using Output = test::CliRun;

Output Spinox(const std::vector<std::string>& args) {
  return test::RunCli(args);
}

std::string Text(const std::string& path) {
  std::vector<unsigned char> bytes = spinox::test::ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// A track with an ID3v1 tag: 300 bytes of audio, then title, artist and album.
std::vector<unsigned char> TaggedTrack(const std::string& title, const std::string& artist,
                                       const std::string& album) {
  std::string tag = "TAG";
  for (const std::string& name : {title, artist, album}) {
    std::string field = name.substr(0, 30);
    tag += field + std::string(30 - field.size(), '\0');
  }
  tag.resize(128, '\0');
  std::vector<unsigned char> bytes(300, 1);
  bytes.insert(bytes.end(), tag.begin(), tag.end());
  return bytes;
}

// Three tracks played with `spinox play` at chosen times: in the week before @1000000 "b"
// twice and "a" once; in the week before that "a" three times and "c" once.
class ChartCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a", "b", "c"}) {
      spinox::test::WriteBytes(db_.File(std::string(name) + ".mp3"),
                               std::vector<unsigned char>(300, 1));
    }
    Play("a", 1000000 - 604800 - 500), Play("a", 1000000 - 604800 - 400);
    Play("c", 1000000 - 604800 - 300), Play("a", 1000000 - 604800 - 200);
    Play("b", 1000000 - 300), Play("a", 1000000 - 200), Play("b", 1000000 - 100);
  }
  void Play(const char* name, int32_t at) {
    Output r = Spinox({"play", "--db", db_.path(), "--at", "@" + std::to_string(at),
                       db_.File(std::string(name) + ".mp3")});
    ASSERT_EQ(r.code, 0) << r.err;
  }
  Output Chart(std::vector<std::string> extra) {
    std::vector<std::string> args = {"chart", "--db", db_.path(), "--now", "@1000000"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Spinox(args);
  }
  spinox::test::TempDatabase db_;
};

TEST_F(ChartCommand, WeekWithPreviousPositionsAsCsv) {
  Output r = Chart({"--period", "week", "--prev", "--change", "--format", "csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "#,Prev,Chng,Title,Artist,Album,Hits\n"
            "1,-,*,b.mp3,,,2\n"
            "2,1,-1,a.mp3,,,1\n");
}

TEST_F(ChartCommand, SteppingBackOnePeriod) {
  Output r = Chart({"--period", "week", "--step", "-1", "--format", "csv", "--top", "1"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "#,Title,Artist,Album,Hits\n1,a.mp3,,,3\n");
  r = Chart({"--period", "all", "--step", "-1"});
  EXPECT_EQ(r.code, kBadUsage);
}

TEST_F(ChartCommand, LogAndTextTitle) {
  Output r = Chart({"--type", "log", "--period", "all", "--top", "2"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Last 2 played ");
  EXPECT_NE(r.out.find("b.mp3"), std::string::npos);
  r = Chart({"--type", "artists", "--period", "all", "--format", "json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"columns\": [\"#\", \"Artist\", \"Hits\"]"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("[\"1\", \"\", \"7\"]"), std::string::npos) << r.out;
}

// The entries are relative to the playlist's own folder. A tagged track is known by its tag
// (untagged ones by the file name alone), so only the entry joined to that folder finds it.
TEST_F(ChartCommand, PlaylistFilterFromAnM3uFile) {
  spinox::test::WriteBytes(db_.File("d.mp3"), TaggedTrack("Dancing Queen", "Abba", "Arrival"));
  for (int32_t at : {1000000 - 50, 1000000 - 40, 1000000 - 30}) Play("d", at);
  std::filesystem::create_directory(db_.File("lists"));
  const std::string list = "#x\n../c.mp3\r\n../b.mp3\n../d.mp3\n";
  spinox::test::WriteBytes(db_.File("lists/list.m3u"),
                           std::vector<unsigned char>(list.begin(), list.end()));
  Output r =
      Chart({"--period", "all", "--playlist", db_.File("lists/list.m3u"), "--format", "csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "#,Title,Artist,Album,Hits\n1,Dancing Queen,Abba,Arrival,3\n2,b.mp3,,,2\n"
            "3,c.mp3,,,1\n");
}

// The album filter keeps the songs (and the plays) of the album it names. Two albums of one
// artist give songs whose album and artist ids differ, so reading the one for the other shows.
TEST_F(ChartCommand, AlbumFilterOnTheSongsAndTheLog) {
  spinox::test::WriteBytes(db_.File("d.mp3"), TaggedTrack("Dancing Queen", "Abba", "Arrival"));
  spinox::test::WriteBytes(db_.File("w.mp3"), TaggedTrack("Waterloo", "Abba", "Gold"));
  Play("d", 1000000 - 50), Play("w", 1000000 - 40), Play("d", 1000000 - 30);
  spinox::test::ScopedZone zone("UTC");
  struct Case {
    const char *type, *album, *csv;
  };
  const Case cases[] = {
      {"songs", "Abba - Arrival", "#,Title,Artist,Album,Hits\n1,Dancing Queen,Abba,Arrival,2\n"},
      {"songs", "abba - gold", "#,Title,Artist,Album,Hits\n1,Waterloo,Abba,Gold,1\n"},
      {"log", "Abba - Arrival",
       "#,Title,Artist,Album,Played\n1,Dancing Queen,Abba,Arrival,12/01/70 13:46:10\n"
       "2,Dancing Queen,Abba,Arrival,12/01/70 13:45:50\n"},
      {"log", "Abba - Gold",
       "#,Title,Artist,Album,Played\n1,Waterloo,Abba,Gold,12/01/70 13:46:00\n"},
  };
  for (const Case& c : cases) {
    Output r = Chart({"--type", c.type, "--period", "day", "--album", c.album, "--format", "csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, c.csv) << c.type << " " << c.album;
  }
}

// A field holding a comma or a quote is quoted, its quotes doubled.
TEST_F(ChartCommand, CsvQuotesTheFieldsThatNeedIt) {
  spinox::test::WriteBytes(db_.File("e.mp3"), TaggedTrack("Say \"Hi\", Bye", "A,B", "Plain"));
  for (int32_t at : {1000000 - 50, 1000000 - 40, 1000000 - 30}) Play("e", at);
  Output r = Chart({"--period", "day", "--format", "csv", "--top", "1"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "#,Title,Artist,Album,Hits\n1,\"Say \"\"Hi\"\", Bye\",\"A,B\",Plain,3\n");
}

// Options that are malformed, name nothing, or give a period that cannot be, are errors that
// say why, never a chart titled as if they had been applied.
TEST_F(ChartCommand, FiltersAndDatesThatNameNothingAreErrors) {
  spinox::test::WriteBytes(db_.File("empty.m3u"), {'#', 'x', '\n'});
  struct Case {
    std::vector<std::string> options;
    int code;
    const char* says;
  };
  const Case cases[] = {
      {{"--artist", "nobody"}, kFailed, "no artist 'nobody' in "},
      {{"--album", "nobody - nothing"}, kFailed, "no album 'nobody - nothing' in "},
      {{"--album", "nothing"}, kFailed, "(give \"ARTIST - ALBUM\")"},
      {{"--playlist", db_.File("empty.m3u")}, kFailed, "names no tracks"},
      {{"--playlist", db_.File("none.m3u")}, kFailed, "cannot read playlist"},
      {{"--from", "2020-02-01", "--to", "2020-01-01"},
       kBadUsage,
       "--from 2020-02-01 is later than --to 2020-01-01"},
      {{"--from", "2020-01-01", "--to", "2040-01-01"},
       kBadUsage,
       "--to '2040-01-01' is outside the times the files can hold: 1901-12-13 20:45:52 to "
       "2038-01-19 03:14:07 UTC"},
      {{"--from", "@-2147483649", "--to", "@0"}, kBadUsage, "is outside the times"},
      {{"--now", "@2147483648"}, kBadUsage, "--now '@2147483648' is outside the times"},
      {{"--from", "2021-02-29", "--to", "2022-01-01"},
       kBadUsage,
       "bad --from '2021-02-29' (want YYYY-MM-DD"},
      {{"--type", "tracks"}, kBadUsage, ""},
      {{"--period", "range", "--from", "2020-01-01"}, kBadUsage, ""},
      {{"--top", "0"}, kBadUsage, ""},
      {{"--type", "artists", "--artist", "x"}, kBadUsage, ""},
      {{"--album", "a - b", "--artist", "x"}, kBadUsage, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"chart", "--db", db_.path()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    Output r = Spinox(args);
    EXPECT_EQ(r.code, c.code) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(Chart({"--artist", "", "--format", "csv"}).code, 0) << "the untagged files' artist";
  EXPECT_EQ(Chart({"--period", "range", "--from", "@5", "--to", "@5"}).code, 0);
}

// Names are shown harmlessly: a control character in a stored name cannot reach the terminal.
TEST_F(ChartCommand, ControlCharactersInNamesAreShownEscaped) {
  std::string odd = db_.File("x\x1b[2J\ty\x7f.mp3");
  spinox::test::WriteBytes(odd, std::vector<unsigned char>(300, 1));
  ASSERT_EQ(Spinox({"play", "--db", db_.path(), "--at", "@999000", odd}).code, 0);
  const std::string shown = "x\\x1B[2J\\x09y\\x7F.mp3";
  Output r = Chart({"--period", "week"});
  EXPECT_NE(r.out.find(shown), std::string::npos) << r.out;
  r = Spinox({"dump", "--db", db_.path(), "songs"});
  EXPECT_NE(r.out.find("title=" + shown + "\t"), std::string::npos) << r.out;
  r = Spinox({"info", "--db", db_.path(), odd});
  EXPECT_NE(r.out.find("title:      " + shown + "\n"), std::string::npos) << r.out;
  for (const std::string& out : {Chart({"--period", "week"}).out, r.out})
    EXPECT_EQ(out.find('\x1b'), std::string::npos);
}

TEST_F(ChartCommand, M3uAndHtml) {
  Output r = Spinox({"m3u", "--db", db_.path(), "--now", "@1000000", "--period", "week", "-o",
                     db_.File("out.m3u")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Text(db_.File("out.m3u")), db_.File("b.mp3") + "\r\n" + db_.File("a.mp3") + "\r\n");
  r = Spinox({"html", "--db", db_.path(), "--now", "@1000000", "--period", "week", "-o",
              db_.File("out.htm")});
  ASSERT_EQ(r.code, 0) << r.err;
  std::string page = Text(db_.File("out.htm"));
  EXPECT_NE(page.find("<h2>Top 2 Songs</h2>"), std::string::npos) << page;  // sample template
  EXPECT_NE(page.find(">b.mp3</font>"), std::string::npos);
  EXPECT_TRUE(FileExists(db_.File("spinoxsampletemplate.htm")));
  r = Spinox(
      {"html", "--db", db_.path(), "--settings", db_.File("none.dat"), "-o", db_.File("x.htm")});
  EXPECT_EQ(r.code, kFailed);
}

TEST_F(ChartCommand, DisplayTextOfATrack) {
  Output r =
      Spinox({"osd", "--db", db_.path(), "--now", "@1000000", "--period", "week", "--template",
              "%title %hits %hitsweek %hourspast %hitlistpos\\n%dayspast", db_.File("a.mp3")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "a.mp3 4 1 3 mins 2\n0\n");
  // c was not played in the week (its row is not on show), and a is not in a top 1.
  for (auto [file, top] : {std::pair{"c.mp3", "100"}, std::pair{"a.mp3", "1"}}) {
    r = Spinox({"osd", "--db", db_.path(), "--now", "@1000000", "--period", "week", "--top", top,
                "--template", "%hitlistpos", db_.File(file)});
    EXPECT_EQ(r.out, "-\n") << file;
  }
  r = Spinox({"osd", "--db", db_.path(), "--now", "@1000000", db_.File("c.mp3")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "c.mp3 (1)\n (7)\n (7)\n");  // the default template; untagged: no names
}

}  // namespace
}  // namespace spinox::cli
