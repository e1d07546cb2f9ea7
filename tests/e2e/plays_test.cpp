// Plays counted through the player window's real procedure and timer, into the record files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "db/records.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

std::vector<HitRecord> Hits(const std::string& path) {
  std::vector<unsigned char> bytes = ReadAll(path);
  std::vector<HitRecord> hits(bytes.size() / sizeof(HitRecord));
  if (!hits.empty()) std::memcpy(hits.data(), bytes.data(), hits.size() * sizeof(HitRecord));
  return hits;
}

TEST_F(PluginTest, PlaysAreCountedIntoTheRecordFiles) {
  player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 100},
                      {MakeTrack("plain.mp3", nullptr, nullptr, nullptr), 100},
                      {MakeTrack("two.mp3", "Two", "Band", "Album"), 100},
                      {MakeTrack("one.mp3", "One", "Band", "Album"), 80}};
  StartPlugin();
  SendMessageA(player->window(), WM_COMMAND, 40045, 0);  // play
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

TEST_F(PluginTest, TheCurrentTrackAtStartUpCountsAsNew) {
  player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 300}};
  player->state = 1;
  player->elapsed = 20;
  SettingsRecord rec = DefaultSettings();
  rec.addTime = 5;
  WriteSettings(rec);
  StartPlugin();
  player->Tick(5);
  EXPECT_EQ(Hits(DataFile("gen_spinox.hit")).size(), 0u);
  player->Tick(1);
  EXPECT_EQ(Hits(DataFile("gen_spinox.hit")).size(), 1u);
}

TEST_F(PluginTest, TheRealTimerDrivesTheTick) {
  player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 300}};
  player->state = 1;
  SettingsRecord rec = DefaultSettings();
  rec.addTime = 1;
  WriteSettings(rec);
  StartPlugin(true);
  for (int i = 0; i < 40 && SizeOf(DataFile("gen_spinox.hit")) <= 0; ++i) player->Pump(100);
  EXPECT_EQ(Hits(DataFile("gen_spinox.hit")).size(), 1u);
}

TEST_F(PluginTest, AnUnwritablePluginsFolderSendsTheFilesToTheUser) {
  RemoveTree(PluginsFolder());
  HANDLE f = CreateFileA(PluginsFolder().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);  // "plugins" is a file: no folder
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 100}};
  StartPlugin();
  SendMessageA(player->window(), WM_COMMAND, 40045, 0);
  player->Tick(70);
  player->Quit();
  std::string user = UserFolder() + "\\Winamp\\plugins\\";
  EXPECT_TRUE(IsFolder(UserFolder() + "\\Winamp\\plugins"));
  EXPECT_EQ(SizeOf(user + "gen_spinox.hit"), static_cast<int64_t>(sizeof(HitRecord)));
  EXPECT_EQ(SizeOf(user + "gen_spinox.dat"), 3766);
  EXPECT_FALSE(IsFolder(PluginsFolder()));
}

// A session that counts one play of `track` (100 s long) and quits.
void PlayOnce(TestPlayer* player, const std::string& track) {
  player->playlist = {{track, 100}};
  SendMessageA(player->window(), WM_COMMAND, 40045, 0);
  player->Tick(70);
  player->Quit();
}

TEST_F(PluginTest, TheUserFolderTakesOverTheHistoryOnce) {
  std::string track = MakeTrack("one.mp3", "One", "Band", "Album");
  SettingsRecord rec = DefaultSettings();
  rec.addTime = 30;
  WriteSettings(rec);
  StartPlugin();
  PlayOnce(player.get(), track);
  ASSERT_EQ(SizeOf(DataFile("gen_spinox.hit")), 16);

  // The install is protected now: the history moves to the user's folder, once.
  std::string user = UserFolder() + "\\Winamp\\plugins\\";
  gUnwritableFolder = PluginsFolder();
  for (int session = 1; session <= 2; ++session) {
    SCOPED_TRACE(session);
    player = std::make_unique<TestPlayer>();
    gNotes.clear();
    StartPlugin();
    PlayOnce(player.get(), track);
    if (session == 1) {
      ASSERT_EQ(gNotes.size(), 1u);
      EXPECT_NE(gNotes[0].find(user.substr(0, user.size() - 1)), std::string::npos) << gNotes[0];
    } else {
      EXPECT_TRUE(gNotes.empty()) << "said once";
    }
    EXPECT_EQ(SizeOf(user + "gen_spinox.hit"), 16 * (session + 1)) << "the plays go on";
    EXPECT_EQ(SizeOf(user + "gen_spinox.sng"), static_cast<int64_t>(sizeof(SongRecord)));
    SettingsRecord saved;
    ASSERT_TRUE(ReadSettingsFile(user + "gen_spinox.dat", &saved));
    EXPECT_EQ(saved.addTime, 30) << "the settings came along";
    EXPECT_EQ(SizeOf(DataFile("gen_spinox.hit")), 16) << "the original is left as it was";
  }
}

TEST_F(PluginTest, AHistoryThatCannotBeCopiedStaysWhereItIs) {
  std::string track = MakeTrack("one.mp3", "One", "Band", "Album");
  StartPlugin();
  PlayOnce(player.get(), track);
  std::string user = UserFolder() + "\\Winamp\\plugins\\";
  CreateDirectoryA((UserFolder() + "\\Winamp").c_str(), nullptr);
  CreateDirectoryA(user.c_str(), nullptr);
  // The copy of the hit file cannot be written.
  CreateDirectoryA((user + "gen_spinox.hit.copy").c_str(), nullptr);
  gUnwritableFolder = PluginsFolder();
  player = std::make_unique<TestPlayer>();
  StartPlugin();
  ASSERT_EQ(gNotes.size(), 1u);
  EXPECT_NE(gNotes[0].find("could not copy"), std::string::npos) << gNotes[0];
  EXPECT_EQ(SizeOf(user + "gen_spinox.sng"), -1) << "no part of the history is left there";
  EXPECT_EQ(SizeOf(user + "gen_spinox.hit"), -1);
  player->Quit();

  RemoveDirectoryA((user + "gen_spinox.hit.copy").c_str());
  player = std::make_unique<TestPlayer>();
  gNotes.clear();
  StartPlugin();
  EXPECT_EQ(gNotes.size(), 1u);
  EXPECT_EQ(SizeOf(user + "gen_spinox.hit"), 16) << "the next start copies it";
}

TEST_F(PluginTest, AWritablePluginsFolderIsUsed) {
  player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 100}};
  StartPlugin();
  SendMessageA(player->window(), WM_COMMAND, 40045, 0);
  player->Tick(70);
  player->Quit();
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.hit")), static_cast<int64_t>(sizeof(HitRecord)));
  EXPECT_FALSE(IsFolder(UserFolder() + "\\Winamp"));
}

}  // namespace
}  // namespace spinox::e2e
