// A database of an earlier version (names and settings texts in the ANSI code page, no marker),
// carried over to UTF-8 by the plug-in at start-up.
#include <windows.h>

#include <cstring>

#include "db/records.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

constexpr WPARAM kPlayButton = 40045;

template <typename R>
std::string Bytes(const R& rec) {
  return std::string(reinterpret_cast<const char*>(&rec), sizeof rec);
}

int Backups(const std::string& folder) {
  return CountMatching(folder + "\\Spinox-*.bak");
}

TEST_F(PluginTest, AnEarlierVersionsDatabaseIsCarriedOverAtStartUp) {
  // One play of "Jóga" by "Björk", written as an earlier version wrote it: Windows-1252.
  const std::string track = MakeTrack("bjork.mp3", "J\xf3ga", "Bj\xf6rk", "Homogenic");
  ArtistRecord artist = {0, "Bj\xf6rk"};
  AlbumRecord album = {0, "Homogenic", "Bj\xf6rk"};
  SongRecord song = {0, 0, 0, "J\xf3ga", "Bj\xf6rk", "Homogenic", {}, now - 1000};
  std::strncpy(song.file, track.c_str(), sizeof song.file - 1);
  HitRecord hit = {0, 0, 0, now - 1000};
  WriteText(DataFile("gen_spinox.art"), Bytes(artist));
  WriteText(DataFile("gen_spinox.alb"), Bytes(album));
  WriteText(DataFile("gen_spinox.sng"), Bytes(song));
  WriteText(DataFile("gen_spinox.hit"), Bytes(hit));
  player->playlist = {{track, 100}};
  Start(SettingsFile()
            .Set("_txt_font",
                 "M\xe9"
                 "dium")
            .Set("_addTime", 5));

  EXPECT_EQ(ReadText(DataFile("gen_spinox.utf8")).rfind("spinox text utf-8\nfrom windows-", 0), 0u);
  EXPECT_EQ(Backups(PluginsFolder()), 1);
  std::strcpy(artist.name, "Bj\xc3\xb6rk");
  EXPECT_EQ(ReadText(DataFile("gen_spinox.art")), Bytes(artist));
  EXPECT_EQ(Saved().Text("_txt_font"),
            "M\xc3\xa9"
            "dium");
  // The tags' names (ID3v1, in the code page) find the converted song: a second play of it.
  Command(kPlayButton);
  player->Tick(7);
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.hit")), static_cast<int64_t>(2 * sizeof(HitRecord)));
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.sng")), static_cast<int64_t>(sizeof(SongRecord)));
  Refresh(0, 1);
  EXPECT_NE(List().find("Bj\xc3\xb6rk"), std::string::npos) << List();
  player->Quit();
  EXPECT_EQ(Saved().Text("_txt_font"),
            "M\xc3\xa9"
            "dium");
  EXPECT_EQ(Backups(PluginsFolder()), 1);
}

}  // namespace
}  // namespace spinox::e2e
