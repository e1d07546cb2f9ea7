// All-or-nothing changes: a failure at every I/O step of every change that touches several
// files, and the process killed at every step, leave the database wholly old or wholly new once
// it is opened again, and success is reported only for the whole change.
#include "db/journal.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>

#include "base/clock.h"
#include "base/file.h"
#include "base/text.h"
#include "db/backup.h"
#include "db/changes.h"
#include "db/edit.h"
#include "db/oldformat.h"
#include "db/paths.h"
#include "db/play.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;
using Snapshot = std::map<std::string, Bytes>;

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Every file of the folder but the lock file, by name; without `leftovers`, only the files of
// the database (not a change's copies that an interrupted tidying-up left).
Snapshot Take(const std::string& dir, bool leftovers = true) {
  Snapshot files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (!leftovers && (EndsWith(name, ".old") || EndsWith(name, ".new"))) continue;
    if (name != kLockFile) files[name] = test::ReadBytes(entry.path().string());
  }
  return files;
}

// Names and sizes, for a failure message.
std::string Describe(const Snapshot& files) {
  std::string text;
  for (const auto& [name, bytes] : files) text += name + ":" + std::to_string(bytes.size()) + " ";
  return text;
}

void Put(const std::string& dir, const Snapshot& files) {
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().filename() != kLockFile) std::filesystem::remove(entry.path());
  }
  for (const auto& [name, bytes] : files) test::PutFile(dir + "/" + name, bytes);
}

void Play(const char* artist, const char* title, const char* album, int32_t when) {
  SongInfo info = test::Track(artist, title, album);
  SetClockOverride(when);
  FillSongInfo(&info);
  ASSERT_TRUE(Hit(&info));
}

struct Op {
  const char* name;
  std::function<bool()> run;  // true when it reports the whole change done
};

class ChangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The backup to restore and the old single-file database to convert: another database.
    Play("Queen", "Radio Ga Ga", "The Works", 1000);
    Play("Queen", "Radio Ga Ga", "The Works", 2000);
    bak = BackupDatabase();
    Bytes backup = test::ReadBytes(bak);
    std::filesystem::rename(bak, other.File("x.bak"));
    bak = other.File("x.bak");
    Bytes old = {8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    old.insert(old.end(), backup.begin() + kBackupHeaderSize, backup.end());
    Put(db.path(), {{kSettingsFile, old}});
    // Song 3 is to be merged into song 0, album 1 into album 0, artist 1 into artist 0.
    Play("ABBA", "Waterloo", "Gold", 3000);
    Play("ABBA", "SOS", "Arrival", 3100);
    Play("Queen", "Bohemian Rhapsody", "Opera", 3200);
    Play("ABBA", "Waterloo (live)", "Gold", 3300);
    Play("ABBA", "Waterloo", "Gold", 3400);
    ClearClockOverride();
    before = Take(db.path());
  }

  std::vector<Op> Ops() {
    return {
        {"restore", [this] { return RestoreBackupFile(bak) == RestoreResult::kRestored; }},
        {"clear", [] { return ClearDatabase(); }},
        {"convert", [] { return BreakDownOldVersionDatFile() == OldFormatResult::kConverted; }},
        {"merge song", [] { return UpdateSong(3, "Waterloo", "Gold", "ABBA") == kEditMerged; }},
        {"merge album", [] { return UpdateAlbum(1, "Gold", "ABBA") == kEditMerged; }},
        {"merge artist", [] { return UpdateArtist(1, "ABBA") == kEditMerged; }},
        {"rename song to a new artist and album",
         [] { return UpdateSong(2, "Bohemian Rhapsody", "Live", "Freddie") == kEditRenamed; }},
        {"rename album",
         [] { return UpdateAlbum(2, "A Night at the Opera", "Queen") == kEditRenamed; }},
        {"rename artist", [] { return UpdateArtist(0, "Agnetha") == kEditRenamed; }},
        {"remove", [] { return RemoveFromDatabase(0); }},
    };
  }

  // What the change gives when nothing fails, and how many I/O steps it takes.
  Snapshot After(const Op& op, int* steps) {
    Put(db.path(), before);
    SetIoFault({});
    EXPECT_TRUE(op.run()) << op.name;
    *steps = IoStepCount();
    Snapshot after = Take(db.path());
    EXPECT_NE(after, before) << op.name;
    return after;
  }

  test::TempDatabase db{test::Where::kMemory};
  test::TempDir other{test::Where::kMemory};
  test::ScriptedUser yes{true};
  std::string bak;
  Snapshot before;
};

TEST_F(ChangeTest, FailureAtEveryStepLeavesTheDatabaseWhollyOldOrWhollyNew) {
  for (const Op& op : Ops()) {
    int steps = 0;
    Snapshot after = After(op, &steps);
    for (int at = 1; at <= steps; ++at) {
      for (bool sticky : {false, true}) {
        SCOPED_TRACE(std::string(op.name) + " failing at step " + std::to_string(at) +
                     (sticky ? " and after" : " only"));
        Put(db.path(), before);
        ClearIoError();
        SetIoFault({at, sticky, nullptr});
        bool done = op.run();
        SetIoFault({});
        if (!done) {
          EXPECT_NE(LastIoError(), "");
        }
        // A single failure is undone at once; a full disk, by the next open at the latest.
        const Snapshot& expected = done ? after : before;
        if (!sticky) {
          Snapshot now = Take(db.path(), false);
          EXPECT_TRUE(now == expected) << Describe(now) << "/ " << Describe(expected);
        }
        std::string report;
        EXPECT_TRUE(RecoverDatabase(&report)) << LastIoError();
        Snapshot now = Take(db.path());
        EXPECT_TRUE(now == expected) << Describe(now) << "/ " << Describe(expected);
      }
    }
  }
}

// The child is killed (SIGKILL, no clean-up of any kind) at the given I/O step of the change.
int KillAt(int step, const Op& op) {
  pid_t child = fork();
  if (child == 0) {
    SetIoFault({step, true, [] { kill(getpid(), SIGKILL); }});
    op.run();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

// The first step, the last (after the switch) and a few at random in between: a fork costs
// tens of milliseconds here, and the failure test above already covers every step.
std::vector<int> KillPoints(int steps, std::mt19937* random) {
  std::vector<int> points = {1, steps};
  std::uniform_int_distribution<int> pick(2, steps - 1);
  for (int i = 0; i < 4; ++i) points.push_back(pick(*random));
  return points;
}

TEST_F(ChangeTest, ProcessKilledAtRandomStepsIsUndoneOrDoneAtTheNextOpen) {
  unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  for (const Op& op : Ops()) {
    int steps = 0;
    Snapshot after = After(op, &steps);
    int undone = 0, done = 0;
    for (int at : KillPoints(steps, &random)) {
      SCOPED_TRACE(std::string(op.name) + " killed at step " + std::to_string(at));
      Put(db.path(), before);
      int status = KillAt(at, op);
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
      std::string report;
      ASSERT_TRUE(RecoverDatabase(&report)) << LastIoError();
      Snapshot now = Take(db.path());
      EXPECT_TRUE(now == before || now == after) << Describe(now);
      (now == before ? undone : done)++;
      EXPECT_FALSE(ChangePending());
    }
    // The kill lands on both sides of the switch.
    EXPECT_GT(undone, 0) << op.name;
    EXPECT_GT(done, 0) << op.name;
  }
}

// Read-only record files are kept as they are, even by a process that could write them (root
// here; on Windows no process can replace or remove them): every change, a play included, fails
// with the reason and the files keep their bytes and their read-only mode.
TEST_F(ChangeTest, ReadOnlyRecordFilesStopEveryChange) {
  std::vector<Op> ops = Ops();
  ops.push_back({"play", [] {
                   SongInfo info = test::Track("ABBA", "SOS", "Arrival");
                   return FillSongInfo(&info) && Hit(&info);
                 }});
  for (const Op& op : ops) {
    SCOPED_TRACE(op.name);
    Put(db.path(), before);
    for (const auto& [name, bytes] : before) ASSERT_EQ(chmod(db.File(name).c_str(), 0444), 0);
    ClearIoError();
    EXPECT_FALSE(op.run());
    EXPECT_NE(LastIoError().find("read-only"), std::string::npos) << LastIoError();
    EXPECT_TRUE(Take(db.path()) == before) << Describe(Take(db.path()));
    for (const auto& [name, bytes] : before) {
      struct stat st = {};
      EXPECT_EQ(stat(db.File(name).c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, 0444u) << name;
      chmod(db.File(name).c_str(), 0644);
    }
  }
}

// A damaged journal can only undo: it never names a file outside the database.
TEST_F(ChangeTest, AJournalNamingOtherFilesMovesNothing) {
  test::PutFile(db.File("victim.old"), Bytes{1});
  std::string journal = "spinox journal 1\nvictim 0\nend\n";
  test::PutFile(db.File(kJournalFile), Bytes(journal.begin(), journal.end()));
  std::string report;
  ASSERT_TRUE(RecoverDatabase(&report));
  EXPECT_NE(report.find("damaged"), std::string::npos) << report;
  EXPECT_TRUE(FileExists(db.File("victim.old")));
  EXPECT_FALSE(ChangePending());
  std::filesystem::remove(db.File("victim.old"));
  EXPECT_TRUE(Take(db.path()) == before);
}

#ifdef _WIN32
const std::string kSep = "\\";
#else
const std::string kSep = "/";
#endif

// The data folder is the application's "plugins" folder unless set itself; a staged file's
// path is its copy's until it is unstaged, and staging one file leaves the others alone.
TEST(Paths, DataFolderFullAndStagedPaths) {
  SetAppPath("app");
  EXPECT_EQ("app" + kSep + "plugins", DataDir());
  EXPECT_EQ("app" + kSep + "plugins" + kSep + "gen_spinox.hit", FullPath(kHitFile));
  SetDataDir("/data");
  const std::string hit = "/data" + kSep + "gen_spinox.hit";
  EXPECT_EQ("/data" + kSep + "gen_spinox.sng", FullPath(kSongFile));
  SetStaged(kHitFile, true);
  SetStaged(kHitFile, true);
  EXPECT_EQ(hit + ".new", FullPath(kHitFile));
  EXPECT_EQ(hit, RealPath(kHitFile));
  EXPECT_EQ(hit + ".new", StagedPath(kHitFile));
  EXPECT_EQ("/data" + kSep + "gen_spinox.sng", FullPath(kSongFile));
  SetStaged(kHitFile, false);
  EXPECT_EQ(hit, FullPath(kHitFile));
}

// A data file that is a folder is named with the reason; missing files are no refusal.
TEST(Paths, DataFileRefusalNamesTheFirstFileThatIsNoFile) {
  test::TempDatabase db;
  EXPECT_EQ("", DataFileRefusal());
  std::filesystem::create_directory(db.File(kArtistFile));
  std::filesystem::create_directory(db.File(kSettingsFile));
  EXPECT_EQ(RealPath(kArtistFile) + ": " + FileErrorText(EISDIR), DataFileRefusal());
}

}  // namespace
}  // namespace spinox
