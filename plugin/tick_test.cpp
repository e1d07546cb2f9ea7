#include "plugin/tick.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/file.h"
#include "base/player.h"
#include "db/backup.h"
#include "db/changes.h"
#include "db/paths.h"
#include "db/play.h"
#include "db/test_records.h"
#include "db/text_encoding.h"
#include "settings/settings.h"
#include "tags/tag_test_util.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::operator+;

constexpr int32_t kT0 = 1100000000;
constexpr int32_t kDay = 86400;

class ScriptedPlayer : public Player {
 public:
  int state = 1;
  int length = -1;
  int position = 0;
  std::vector<std::string> playlist;

  int PlayState() override { return state; }
  int TrackLength() override { return length; }
  int PlaylistLength() override { return static_cast<int>(playlist.size()); }
  int PlaylistPosition() override { return position; }
  bool PlaylistFile(int index, std::string* file) override {
    if (index < 0 || index >= PlaylistLength()) return false;
    *file = playlist[index];
    return true;
  }
  void ClearPlaylist() override { playlist.clear(); }
  bool LoadPlaylist(const std::string&) override { return true; }
  void LoadAnsiPlaylist(const std::string&) override {}
  void Play() override { state = 1; }
};

struct HookCalls {
  int hide = 0, display = 0, backup = 0, position = 0;
};
HookCalls gCalls;

class TickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockOverride(kT0);
    settings_ = DefaultSettings();  // a 60-second threshold, tagged files only, no display
    gCalls = HookCalls();
    hooks_.hideDisplay = [] { ++gCalls.hide; };
    hooks_.displayText = [] { ++gCalls.display; };
    hooks_.backupDatabase = [] { ++gCalls.backup; };
    hooks_.currentHitlistPos = [] { ++gCalls.position; };
    a_ = music_.File("a.mp3");
    b_ = music_.File("b.mp3");
    test::WriteBytes(a_, test::Audio(64) + test::Id3v1("Alpha", "Band", "First"));
    test::WriteBytes(b_, test::Audio(64) + test::Id3v1("Beta", "Band", "First"));
    player_.playlist = {a_, b_};
    SetCurrentPlayer(&player_);
  }
  void TearDown() override { SetCurrentPlayer(nullptr); }

  // Runs n ticks, one second of clock each.
  void Tick(int n) {
    for (int i = 0; i < n; ++i) {
      PlayTick(spinox::Tick{&settings_, &state_, &display_, hooks_});
      SetClockOverride(ClockNow() + 1);
    }
  }
  static std::vector<HitRecord> HitRecords() {
    return test::Records<HitRecord>(FullPath(kHitFile));
  }
  static int64_t Hits() { return static_cast<int64_t>(HitRecords().size()); }

  test::TempDatabase db_;
  test::TempDir music_;
  ScriptedPlayer player_;
  std::string a_, b_;
  Settings settings_;
  TickState state_;
  DisplayState display_;
  TickHooks hooks_;
};

// Scripts of the player's state: each step holds for `ticks` seconds, then the hit file holds
// `hits` plays. Position 0 is a.mp3, 1 b.mp3; state 1 plays, 3 pauses, 0 stops.
struct Step {
  int position, state, enabled, ticks;
  int64_t hits;
};
struct Script {
  const char* name;
  int32_t addTime, length;
  int positions;  // files taken as new (the playing row marked)
  std::vector<Step> steps;
};

TEST_F(TickTest, PlaysAreCountedOncePastTheThreshold) {
  // clang-format off
  const Script kScripts[] = {
      {"a change of file before the sixtieth second is no play", 60, -1, 3,
       {{0, 1, 1, 60, 0}, {1, 1, 1, 1, 0}, {0, 1, 1, 60, 0}, {0, 1, 1, 1, 1}}},
      {"paused and stopped time is not counted", 60, -1, 1,
       {{0, 1, 1, 31, 0}, {0, 3, 1, 600, 0}, {0, 0, 1, 5, 0}, {0, 1, 1, 29, 0}, {0, 1, 1, 1, 1}}},
      {"the same file twice in a row is one play", 60, -1, 3,
       {{0, 1, 1, 61, 1}, {0, 1, 1, 500, 1}, {1, 1, 1, 61, 2}, {0, 1, 1, 61, 3}}},
      {"disabling freezes the play in progress, which stays the same file", 60, -1, 1,
       {{0, 1, 1, 31, 0}, {0, 1, 0, 100, 0}, {0, 1, 1, 29, 0}, {0, 1, 1, 1, 1}}},
      {"half of 245 seconds", -50, 245, 1, {{0, 1, 1, 122, 0}, {0, 1, 1, 1, 1}}},
      {"a percentage of an unknown length", -50, -1, 1, {{0, 1, 1, 1, 0}, {0, 1, 1, 1, 1}}},
      {"no threshold: the tick that first sees a file never counts it", 0, 300, 1,
       {{0, 1, 1, 1, 0}, {0, 1, 1, 1, 1}}},
  };
  // clang-format on
  for (const Script& s : kScripts) {
    std::remove(FullPath(kHitFile).c_str());
    state_ = TickState();
    gCalls = HookCalls();
    settings_._addTime = s.addTime;
    player_.length = s.length;
    for (const Step& step : s.steps) {
      player_.position = step.position;
      player_.state = step.state;
      settings_._enabled = step.enabled;
      Tick(step.ticks);
      EXPECT_EQ(Hits(), step.hits) << s.name << " after " << step.ticks;
    }
    EXPECT_EQ(gCalls.position, s.positions) << s.name;
  }
}

TEST_F(TickTest, UntaggedFileIsSkippedButStillShown) {
  std::string plain = music_.File("plain.mp3");
  test::WriteBytes(plain, std::vector<unsigned char>(500, 0x11));
  player_.playlist = {plain};
  settings_._txt = 1;
  Tick(200);
  EXPECT_EQ(Hits(), 0);
  EXPECT_EQ(gCalls.display, 1);
  EXPECT_STREQ(state_._data.title, "plain.mp3") << "an untagged file is named by its file name";
  settings_._skip = 0;  // switched in the settings while the same file plays
  Tick(1);
  EXPECT_EQ(Hits(), 1);
}

TEST_F(TickTest, BackupRunsWhenMoreThanTheIntervalHasPassed) {
  settings_._backup = 1;
  settings_._backupTime = 7;
  player_.state = 0;  // runs whether or not anything plays
  Tick(1);
  EXPECT_EQ(gCalls.backup, 1) << "never backed up: due at once";
  EXPECT_EQ(+settings_._backupLast, kT0);
  SetClockOverride(kT0 + 8 * kDay - 1);  // seven whole days
  Tick(1);
  EXPECT_EQ(gCalls.backup, 1);
  Tick(1);  // eight whole days
  EXPECT_EQ(gCalls.backup, 2);
  EXPECT_EQ(+settings_._backupLast, kT0 + 8 * kDay);
  // Long overdue, but the plug-in is disabled, then the automatic backup is switched off.
  settings_._enabled = 0;
  SetClockOverride(kT0 + 100 * kDay);
  Tick(1);
  settings_._backup = 0;
  settings_._enabled = 1;
  Tick(1);
  EXPECT_EQ(gCalls.backup, 2);
}

TEST_F(TickTest, DisplayIsHiddenOnTheEleventhTick) {
  display_._txt_showing = 1;
  Tick(10);
  EXPECT_EQ(gCalls.hide, 0);
  Tick(1);
  EXPECT_EQ(gCalls.hide, 1);
  EXPECT_EQ(display_._txt_showing, 0);
  Tick(20);
  EXPECT_EQ(gCalls.hide, 1) << "hidden once";
  display_._txt_showing = 1;
  display_._txt_timeNow = 0;
  int32_t timer = state_._timer;
  settings_._enabled = 0;  // a disabled plug-in freezes the clock
  Tick(30);
  EXPECT_EQ(display_._txt_timeNow, 0);
  EXPECT_EQ(state_._timer, timer);
}

TEST_F(TickTest, UnwrittenPlayIsTriedAgainOnTheNextTick) {
  std::string folder = db_.File("later");
  SetDataDir(folder);  // missing: nothing can be written
  Tick(70);
  EXPECT_EQ(Hits(), 0);
  EXPECT_EQ(state_._added, 0);
  std::filesystem::create_directory(folder);
  Tick(1);
  EXPECT_EQ(Hits(), 1);
  Tick(100);
  EXPECT_EQ(Hits(), 1);
}

// An earlier version's database that cannot be converted yet (the disk is full) gets nothing
// written into it; the play waits and is recorded by the tick that can convert it.
TEST_F(TickTest, APlayWaitsForTheConversionOfAnEarlierDatabase) {
  std::filesystem::remove(db_.File(kUtf8MarkerFile));
  for (const char* name : {kHitFile, kSongFile, kArtistFile, kAlbumFile, kSettingsFile})
    std::filesystem::copy_file(test::TestDataPath(std::string("ansi_db/") + name), db_.File(name));
  const auto artists = test::ReadBytes(db_.File(kArtistFile));
  SetIoFault({1, true, nullptr});
  Tick(70);
  SetIoFault({});
  EXPECT_EQ(Hits(), 9);
  EXPECT_EQ(state_._added, 0);
  EXPECT_EQ(test::ReadBytes(db_.File(kArtistFile)), artists);
  EXPECT_EQ(StoredTextEncoding(), TextEncoding::kAnsi);
  Tick(1);
  EXPECT_EQ(Hits(), 10);
  EXPECT_EQ(StoredTextEncoding(), TextEncoding::kUtf8);
}

// A conversion that fails after its backup was made (a record file cannot be staged) is tried
// again on every tick while the play waits: each failed attempt takes its backup back, so the
// folder does not fill with a copy of the database a minute.
TEST_F(TickTest, AWaitingPlayLeavesNoBackupPerAttempt) {
  std::filesystem::remove(db_.File(kUtf8MarkerFile));
  for (const char* name : {kHitFile, kSongFile, kArtistFile, kAlbumFile, kSettingsFile})
    std::filesystem::copy_file(test::TestDataPath(std::string("ansi_db/") + name), db_.File(name));
  auto backups = [this] {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(db_.path()))
      n += entry.path().extension() == ".bak";
    return n;
  };
  SetIoFault({});
  std::string probe = BackupDatabase();
  ASSERT_FALSE(probe.empty());
  int backupSteps = IoStepCount();
  std::filesystem::remove(probe);
  SetIoFault({backupSteps + 1, true, nullptr});
  Tick(61 + 180);  // three minutes of attempts
  SetIoFault({});
  EXPECT_EQ(Hits(), 9);
  EXPECT_EQ(StoredTextEncoding(), TextEncoding::kAnsi);
  EXPECT_EQ(backups(), 0);
  Tick(1);
  EXPECT_EQ(Hits(), 10);
  EXPECT_EQ(backups(), 1) << "the conversion that succeeds keeps its backup";
}

TEST_F(TickTest, NoFileNameAndOverlongNames) {
  player_.position = 5;  // past the end: the player gives no name
  Tick(100);
  EXPECT_EQ(Hits(), 0);
  EXPECT_EQ(gCalls.position, 0);
  // A name longer than the field is still one file: cut between characters, as the field
  // is, wherever the cut falls in a three-byte character.
  settings_._skip = 0;
  std::string japanese;
  for (int i = 0; i < 100; ++i) japanese += "\xE6\x9D\xB1";
  for (int pad = 0; pad < 3; ++pad) {
    player_.playlist = {music_.File(std::string(pad, 'x') + japanese + ".mp3")};
    player_.position = 0;
    Tick(61);
    EXPECT_EQ(Hits(), pad + 1);
    EXPECT_EQ(gCalls.position, pad + 1);
    std::string kept = FieldText(state_._curSong.file);
    EXPECT_TRUE(IsUtf8(kept.data(), kept.size())) << pad;
  }
}

// A change of the database while a track plays (here "Clear Database" and "Remove") resolves
// the track again on the next tick: its play goes to the records of its names, its timer runs
// on, and its counters describe the database as it is now.
TEST_F(TickTest, ChangesDuringAPlayResolveTheTrackAgain) {
  for (int position : {1, 0, 1}) {
    player_.position = position;
    Tick(62);  // b: song 0, a: song 1
  }
  ASSERT_EQ(Hits(), 3);
  player_.position = 0;
  Tick(30);  // a, half-way
  EXPECT_EQ(state_._data.songId, 1u);
  {
    test::ScriptedUser yes(true);
    ASSERT_TRUE(ClearDatabase());
  }
  int positions = gCalls.position;
  Tick(1);
  EXPECT_EQ(state_._data.hits, 0);
  EXPECT_EQ(gCalls.position, positions + 1) << "the playing row is marked again";
  Tick(30);
  ASSERT_EQ(Hits(), 1) << "the timer ran on through the change";
  EXPECT_EQ(HitRecords()[0].songId, 0u);
  EXPECT_EQ(HitRecords()[0].time, kT0 + 186) << "the time the track was first seen";
  player_.position = 1;
  Tick(62);
  EXPECT_EQ(HitRecords()[1].songId, 1u) << "b is a new song of its own";

  player_.position = 0;
  Tick(2);
  RemoveFromDatabase(0);  // a, while it plays
  Tick(60);
  ASSERT_EQ(Hits(), 3);
  EXPECT_EQ(HitRecords()[2].songId, 2u) << "a new entry, not the removed one";
}

TEST_F(TickTest, StartUpResolvesTheCurrentTrackAndLeavesItNew) {
  Tick(61);
  ASSERT_EQ(Hits(), 1);
  state_ = TickState();
  ResolveCurrentTrack(&state_);
  EXPECT_STREQ(state_._data.title, "Alpha") << "resolved, with the case of the tag";
  EXPECT_EQ(state_._curSong.file[0], 0);
  settings_._txt = 1;
  Tick(1);
  EXPECT_EQ(gCalls.display, 1) << "the first playing tick shows the display";
  SetCurrentPlayer(nullptr);
  state_ = TickState();
  ResolveCurrentTrack(&state_);
  EXPECT_EQ(state_._data.title[0], 0);
  Tick(5);  // no player: nothing plays
  EXPECT_EQ(Hits(), 1);
}

}  // namespace
}  // namespace spinox
