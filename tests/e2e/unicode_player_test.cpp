// Names from the player in any script: the playing entry's UTF-16 name (or an older player's
// ANSI one) recorded exactly, and the hit list played back through a playlist in a folder whose
// name the ANSI code page cannot hold.
#include <cstring>

#include "base/codepage.h"
#include "base/text.h"
#include "db/records.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

constexpr WPARAM kPlayButton = 40045;

std::vector<SongRecord> Songs(const std::string& path) {
  std::string bytes = ReadText(path);
  std::vector<SongRecord> songs(bytes.size() / sizeof(SongRecord));
  if (!songs.empty()) std::memcpy(songs.data(), bytes.data(), songs.size() * sizeof(SongRecord));
  return songs;
}

struct UnicodeCase {
  const char* what;
  bool older;          // the player answers 0 to 214 and 1100
  const char* folder;  // under the music folder
  const char* file;
  const char* message;   // the WM_COPYDATA the hit list was played back with
  const char* playlist;  // and the playlist it named
};

const UnicodeCase kCases[] = {
    {"several scripts by the UTF-16 name; a .m3u8 by its wide path", false,
     "\xE6\x9D\xB1\xE4\xBA\xAC\xE4\xBA\x8B\xE5\xA4\x89 \xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE "
     "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",
     "\xEB\xB4\x84\xEB\x82\xA0 \xD8\xA3\xD9\x86\xD8\xA7 \xC5\xBB\xC3\xB3\xC5\x82\xC4\x87 "
     "Dvo\xC5\x99\xC3\xA1k \xF0\x9F\x8E\xB5.mp3",
     "1100", "temphit.m3u8"},
    {"an older player: the ANSI name; the .m3u by its ANSI (short) path", true, "Bj\xC3\xB6rk",
     "J\xC3\xB3ga.mp3", "100", "temphit.m3u"},
};

// The data folder is the user's (the plug-ins folder is protected), under a folder named in
// Cyrillic and Japanese, which the Western code page cannot hold.
TEST_F(PluginTest, NamesInEveryScriptFromThePlayerAndBack) {
  int row = 0;
  for (const UnicodeCase& c : kCases) {
    SCOPED_TRACE(c.what);
    player.reset();
    SetUp();
    const std::string user = UserFolder() +
                             "\\\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0 \xE6\x9D\xB1\xE4\xBA\xAC " +
                             std::to_string(++row);
    ASSERT_TRUE(MakeFolder(user));
    SetEnvironmentVariableW(L"APPDATA", WideFromUtf8(user).c_str());
    gWatched.unwritableFolder = PluginsFolder();
    const std::string data = user + "\\Winamp\\plugins\\";
    // An older player knows its files by names the ANSI code page holds: under a folder the
    // code page cannot name, by the music folder's short form.
    const std::string music = TestsFolder() + "\\music";
    const std::string folder = (c.older ? AnsiNamed(music) : music) + "\\" + c.folder;
    ASSERT_TRUE(MakeFolder(folder));
    const std::string track = folder + "\\" + c.file;
    WriteText(track, TrackBytes("the one", "some band", "some album"));
    player->older = c.older;

    player->playlist = {{track, 100}};
    StartPlugin();
    Command(kPlayButton);
    player->Tick(70);
    std::vector<SongRecord> songs = Songs(data + "gen_spinox.sng");
    ASSERT_EQ(songs.size(), 1u) << "the track was opened by its name and counted";
    EXPECT_EQ(FieldText(songs[0].file), track) << "its exact name, in UTF-8";
    EXPECT_EQ(FieldText(songs[0].title), "the one");

    player->playlist.clear();
    player->state = 0;
    Command(ID_HITLIST);
    Refresh(0, 4, 10);  // songs of all time
    ListCommand(ID_PLAY);
    ASSERT_EQ(player->loads.size(), 1u);
    std::string loaded = player->loads[0];
    EXPECT_EQ(loaded.substr(0, loaded.find(' ')), c.message);
    EXPECT_NE(loaded.find(c.playlist), std::string::npos) << loaded;
    ASSERT_EQ(player->playlist.size(), 1u) << "the player could read " << loaded;
    EXPECT_EQ(player->playlist[0].file, track);
    EXPECT_EQ(player->state, 1);
    player->Quit();
    SetEnvironmentVariableW(L"APPDATA", nullptr);
  }
}

}  // namespace
}  // namespace spinox::e2e
