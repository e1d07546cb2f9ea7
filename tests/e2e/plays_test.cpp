// Plays counted through the player window's real procedure and timer into the record files, and
// the data folder the files go to.
#include <cstring>

#include "db/records.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

std::vector<HitRecord> Hits(const std::string& path) {
  std::string bytes = ReadText(path);
  std::vector<HitRecord> hits(bytes.size() / sizeof(HitRecord));
  if (!hits.empty()) std::memcpy(hits.data(), bytes.data(), hits.size() * sizeof(HitRecord));
  return hits;
}

constexpr WPARAM kPlayButton = 40045;

TEST_F(PluginTest, PlaysAreCountedIntoTheRecordFiles) {
  player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 100},
                      {MakeTrack("plain.mp3", nullptr, nullptr, nullptr), 100},
                      {MakeTrack("two.mp3", "Two", "Band", "Album"), 100},
                      {MakeTrack("one.mp3", "One", "Band", "Album"), 80}};
  StartPlugin();
  Command(kPlayButton);
  player->Tick(61);
  EXPECT_EQ(Hits(DataFile("gen_spinox.hit")).size(), 1u) << "counted on the 60th second";
  player->Tick(330);
  EXPECT_EQ(player->state, 0) << "the playlist has ended";
  player->Quit();

  std::vector<HitRecord> hits = Hits(DataFile("gen_spinox.hit"));
  ASSERT_EQ(hits.size(), 3u) << "the untagged file is not counted";
  EXPECT_EQ(hits[0].songId, 0u);
  EXPECT_EQ(hits[1].songId, 1u);
  EXPECT_EQ(hits[2].songId, 0u) << "the same song again after another";
  EXPECT_EQ(hits[0].artistId, hits[1].artistId);
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.sng")), static_cast<int64_t>(2 * sizeof(SongRecord)));
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.art")), static_cast<int64_t>(sizeof(ArtistRecord)));
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.alb")), static_cast<int64_t>(sizeof(AlbumRecord)));
}

// The track playing at start-up counts from where it is; the real timer drives the count.
TEST_F(PluginTest, TheCurrentTrackAtStartUpCountsAsNew) {
  for (bool realTimer : {false, true}) {
    SCOPED_TRACE(realTimer ? "real timer" : "ticks");
    player.reset();
    SetUp();
    player->playlist = {{MakeTrack(kA), 300}};
    player->state = 1;
    player->elapsed = 20;
    WriteSettings(SettingsFile().Set("_addTime", realTimer ? 1 : 5));
    StartPlugin(realTimer);
    if (realTimer) {
      for (int i = 0; i < 80 && SizeOf(DataFile("gen_spinox.hit")) <= 0; ++i) player->Pump(100);
    } else {
      player->Tick(5);
      EXPECT_EQ(Hits(DataFile("gen_spinox.hit")).size(), 0u);
      player->Tick(1);
    }
    EXPECT_EQ(Hits(DataFile("gen_spinox.hit")).size(), 1u);
  }
}

// Where the record files go: the plug-ins folder when it can be written, else the user's
// folder, which takes the history over once (and only when all of it could be copied).
TEST_F(PluginTest, TheDataFolderFollowsWhatCanBeWritten) {
  const std::string user = UserFolder() + "\\Winamp\\plugins\\";
  const std::string track = MakeTrack(kA);
  auto session = [&](bool play) {
    player = std::make_unique<TestPlayer>();
    gWatched.boxes.clear();
    StartPlugin();
    if (!play) return;
    player->playlist = {{track, 100}};
    Command(kPlayButton);
    player->Tick(70);
    player->Quit();
  };
  // Writable: used.
  WriteSettings(SettingsFile().Set("_addTime", 30));
  session(true);
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.hit")), 16);
  EXPECT_FALSE(IsFolder(UserFolder() + "\\Winamp"));

  // Protected, and the copy of the hit file cannot be written: nothing moves, the user is told.
  for (const std::string& f : {UserFolder() + "\\Winamp", user, user + "gen_spinox.hit.copy"})
    ASSERT_TRUE(MakeFolder(f)) << f;
  gWatched.unwritableFolder = PluginsFolder();
  session(false);
  ASSERT_EQ(gWatched.boxes.size(), 1u);
  EXPECT_NE(gWatched.boxes[0].text.find("could not copy"), std::string::npos);
  EXPECT_EQ(SizeOf(user + "gen_spinox.sng"), -1) << "no part of the history is left there";
  EXPECT_EQ(SizeOf(user + "gen_spinox.hit"), -1);
  player->Quit();
  RemoveTree(user + "gen_spinox.hit.copy");

  // Then the history moves, once, and the plays go on there.
  for (int n = 1; n <= 2; ++n) {
    SCOPED_TRACE(n);
    gWatched.unwritableFolder = PluginsFolder();
    session(true);
    if (n == 1) {
      ASSERT_EQ(gWatched.boxes.size(), 1u);
      EXPECT_NE(gWatched.boxes[0].text.find(user.substr(0, user.size() - 1)), std::string::npos);
    } else {
      EXPECT_TRUE(gWatched.boxes.empty()) << "said once";
    }
    EXPECT_EQ(SizeOf(user + "gen_spinox.hit"), 16 * (n + 1));
    EXPECT_EQ(SizeOf(user + "gen_spinox.sng"), static_cast<int64_t>(sizeof(SongRecord)));
    EXPECT_EQ(SettingsFile::Read(user + "gen_spinox.dat").Int("_addTime"), 30)
        << "the settings came along";
    // The marker of UTF-8 texts came along too: the copy is not taken for an earlier
    // version's database, whose conversion would back it up and convert its texts again.
    std::string backup;
    EXPECT_EQ(CountMatching(user + "Spinox-*.bak", &backup), 0) << backup;
    EXPECT_EQ(SizeOf(DataFile("gen_spinox.hit")), 16) << "the original is left as it was";
  }

  // "plugins" is a file: no folder can be made there.
  RemoveTree(PluginsFolder());
  RemoveTree(UserFolder() + "\\Winamp");
  WriteText(PluginsFolder(), "");
  gWatched.unwritableFolder.clear();
  session(true);
  EXPECT_EQ(SizeOf(user + "gen_spinox.hit"), 16);
  EXPECT_EQ(SizeOf(user + "gen_spinox.dat"), kSettingsBytes);
  EXPECT_FALSE(IsFolder(PluginsFolder()));
}

}  // namespace
}  // namespace spinox::e2e
