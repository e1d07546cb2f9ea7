#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "db/records.h"
#include "hitlist/test_db.h"
#include "tests/test_util.h"
#include "tool/command.h"

namespace spinox::cli {
namespace {

struct Output {
  int code = 0;
  std::string out, err;
};

std::string Slurp(FILE* f) {
  std::string s;
  std::rewind(f);
  for (int c; (c = std::fgetc(f)) != EOF;) s.push_back(static_cast<char>(c));
  std::fclose(f);
  return s;
}

Output Spinox(const std::vector<std::string>& args) {
  Io io;
  io.out = std::tmpfile();
  io.err = std::tmpfile();
  Output r;
  r.code = RunTool(args, io);
  r.out = Slurp(io.out);
  r.err = Slurp(io.err);
  return r;
}

std::string Text(const std::string& path) {
  std::vector<unsigned char> bytes = test::ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// Three tracks played with `spinox play` at chosen times: in the week before @1000000 "b"
// twice and "a" once; in the week before that "a" three times and "c" once.
class ChartCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a", "b", "c"}) {
      test::WriteBytes(db_.File(std::string(name) + ".mp3"), std::vector<unsigned char>(300, 1));
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
  test::TempDatabase db_;
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

TEST_F(ChartCommand, PlaylistFilterFromAnM3uFile) {
  test::WriteBytes(db_.File("list.m3u"), {'#', 'x', '\n', 'c', '.', 'm', 'p', '3', '\r', '\n', 'b',
                                          '.', 'm', 'p', '3', '\n'});
  Output r = Chart({"--period", "all", "--playlist", db_.File("list.m3u"), "--format", "csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "#,Title,Artist,Album,Hits\n1,b.mp3,,,2\n2,c.mp3,,,1\n");
}

TEST_F(ChartCommand, BadOptions) {
  EXPECT_EQ(Chart({"--type", "tracks"}).code, kBadUsage);
  EXPECT_EQ(Chart({"--period", "range", "--from", "2020-01-01"}).code, kBadUsage);
  EXPECT_EQ(Chart({"--top", "0"}).code, kBadUsage);
  EXPECT_EQ(Chart({"--type", "artists", "--artist", "x"}).code, kBadUsage);
  EXPECT_EQ(Chart({"--album", "a - b", "--artist", "x"}).code, kBadUsage);
  EXPECT_EQ(Chart({"--playlist", db_.File("none.m3u")}).code, kFailed);
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
  r = Spinox({"osd", "--db", db_.path(), "--now", "@1000000", db_.File("c.mp3")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "c.mp3 (1)\n (7)\n (7)\n");  // the default template; untagged: no names
}

}  // namespace
}  // namespace spinox::cli
