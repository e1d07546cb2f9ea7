// Where a file belongs, the tool takes only a regular file it can use: a folder, a pipe, a
// read-only or unwritable output and a full standard output each give a clear error and a
// non-zero exit, never a crash, a hang, a recorded play or a damaged file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/text.h"
#include "settings/settings.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using test::CliRun;
using test::Contains;
using test::RunCli;

using Args = std::vector<std::string>;

// A place a file is read from or written to. The odd entry is made at `at` in a fresh folder;
// in `args`, DB is the database, DIR that folder, ODD the entry, TMPL a settings file whose page
// template is the entry and TRACK a usable track. `says` is the message besides the reason.
struct Place {
  const char* at;
  Args args;
  const char* says;
};

const char kDataFile[] = "where a data file belongs",
           kTemplate[] = "Could not read the template file";
const Place kPlaces[] = {
    {"odd", {"play", "--db", "DB", "ODD"}, "cannot read"},
    {"odd", {"info", "--db", "DB", "ODD"}, "cannot read"},
    {"odd", {"tags", "ODD"}, "cannot read"},
    {"odd", {"chart", "--db", "DB", "--playlist", "ODD"}, "cannot read playlist"},
    {"odd",
     {"html", "--db", "DB", "--settings", "ODD", "-o", "ODD.htm"},
     "cannot use settings file"},
    {"odd", {"html", "--db", "DB", "--settings", "TMPL", "-o", "ODD.htm"}, kTemplate},
    {"odd", {"html", "--db", "DB", "-o", "ODD"}, "Could not write"},
    {"odd", {"m3u", "--db", "DB", "-o", "ODD"}, "cannot write"},
    {"gen_spinox.sng", {"chart", "--db", "DIR"}, kDataFile},
    {"gen_spinox.hit", {"chart", "--db", "DIR"}, kDataFile},
    {"gen_spinox.hit", {"play", "--db", "DIR", "TRACK"}, kDataFile},
    {"gen_spinox.dat", {"dump", "--db", "DIR", "songs"}, kDataFile},
    {"odd", {"restore", "--db", "DB", "--yes", "ODD"}, "cannot read"},
};

// A database with one play of one track.
class Refusals : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(60);  // a refusal that hangs (a pipe opened for reading) fails the run
    ASSERT_EQ(test::PlayUntagged(d, track, 1000000), 0);
    hits = spinox::test::ReadBytes(db.File("gen_spinox.hit"));
  }
  void TearDown() override { alarm(0); }

  // A settings file whose page template is `templatePath`.
  std::string SettingsWithTemplate(const std::string& templatePath) {
    Settings rec = DefaultSettings();
    rec.html._htmDialog.useTemplate = 1;
    SetField(rec.html._htmDialog.templateFile, templatePath);
    std::string path = db.File("template.dat");
    EXPECT_TRUE(WriteSettingsFile(path, rec));
    return path;
  }

  // Runs every place with the odd entry `make` makes; each must fail with `reason`, leave the
  // entry as it was and record no play.
  void CheckPlaces(const std::function<void(const std::string&)>& make, const char* reason) {
    for (const Place& p : kPlaces) {
      spinox::test::TempDir dir;
      const std::string odd = dir.File(p.at);
      make(odd);
      Args args;
      std::string call;
      for (const std::string& a : p.args) {
        args.push_back(a == "DB"                ? d
                       : a == "DIR"             ? dir.path()
                       : a == "TMPL"            ? SettingsWithTemplate(odd)
                       : a == "TRACK"           ? track
                       : a.rfind("ODD", 0) == 0 ? odd + a.substr(3)
                                                : a);
        call += a + " ";
      }
      CliRun r = RunCli(args);
      EXPECT_EQ(r.code, kFailed) << call << r.err;
      EXPECT_TRUE(Contains(r.err, p.says)) << call << r.err;
      EXPECT_TRUE(Contains(r.err, reason)) << call << r.err;
      EXPECT_NE(KindOf(odd), PathKind::kFile) << call << "replaced by a file";
    }
    EXPECT_EQ(spinox::test::ReadBytes(db.File("gen_spinox.hit")), hits) << "a play was recorded";
  }

  spinox::test::TempDatabase db;
  const std::string d = db.path(), track = db.File("song.mp3");
  std::vector<unsigned char> hits;
};

TEST_F(Refusals, FolderAndPipe) {
  CheckPlaces([](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0755), 0); }, "it is a folder");
  CheckPlaces([](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); },
              "not a regular file");
}

// The page and playlist commands: a read-only output, a missing folder and a write that fails
// each fail naming the output (not the template); the old file stays whole, no temporary left.
TEST_F(Refusals, OutputsThatCannotBeWritten) {
  const std::string out = d + "/out.txt", nowhere = d + "/no/such/folder/out.txt";
  ASSERT_EQ(RunCli({"html", "--db", d, "-o", out}).code, 0);  // installs the sample template
  const struct {
    std::string path, says;
    mode_t mode;
    int writeFault;
  } kCases[] = {
      {out, "'" + out + "': it is read-only", 0444, 0},
      {nowhere, "'" + nowhere + "': No such file or directory", 0644, 0},
      {out, "'" + out + "'", 0644, 1},
  };
  for (const auto& c : kCases) {
    for (const char* command : {"html", "m3u"}) {
      spinox::test::WriteBytes(out, {'o', 'l', 'd'});
      ASSERT_EQ(chmod(out.c_str(), c.mode), 0);
      SetWriteFault(c.writeFault);
      CliRun r = RunCli({command, "--db", d, "-o", c.path});
      SetWriteFault(0);
      ASSERT_EQ(chmod(out.c_str(), 0644), 0);
      EXPECT_EQ(r.code, kFailed) << command << " " << c.says;
      EXPECT_TRUE(Contains(r.err, c.says)) << r.err;
      EXPECT_EQ(spinox::test::ReadText(out), "old") << command << " " << c.says;
      EXPECT_EQ(KindOf(out + ".tmp"), PathKind::kMissing) << command << " " << c.says;
    }
  }
}

TEST_F(Refusals, FullStandardOutput) {
  for (const Args& args : std::vector<Args>{
           {"chart", "--db", d}, {"dump", "--db", d, "hits"}, {"tags", track}, {"--help"}}) {
    Io io;
    io.out = std::fopen("/dev/full", "w");
    io.err = std::tmpfile();
    ASSERT_TRUE(io.out && io.err);
    int code = RunTool(args, io);
    std::fclose(io.out);
    EXPECT_EQ(code, kFailed) << args[0];
    EXPECT_TRUE(Contains(test::SlurpAndClose(io.err), "could not write the output")) << args[0];
  }
}

// The sample template that cannot be installed (a read-only data folder; here its name leads
// into a missing folder) is taken from its built-in text: the page is still written.
TEST_F(Refusals, ReadOnlyDataFolderDoesNotStopThePage) {
  std::string sample = d + "/spinoxsampletemplate.htm";
  ASSERT_EQ(symlink((d + "/missing/sample.htm").c_str(), sample.c_str()), 0);
  CliRun r = RunCli({"html", "--db", d, "--now", "@1000100", "-o", d + "/page.htm"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Contains(spinox::test::ReadText(d + "/page.htm"), "<h2>Top 1 Songs</h2>"));
}

}  // namespace
}  // namespace spinox::cli
