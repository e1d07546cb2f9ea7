// The hit list window's commands: the context menus, remove, play, enqueue and
// save as playlist, through the real windows and the test player.
#include <tuple>

#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

class HitlistCommandsTest : public PluginTest {
 protected:
  // Two days ago: alpha 3, beta 2, gamma 1 and last delta 1. Songs 0 to 3.
  void SetUp() override {
    PluginTest::SetUp();
    int32_t t = now - 2 * kDay;
    for (const Track* p : {&kA, &kB, &kA, &kC, &kB, &kA, &kD}) Record(*p, t += kHour);
  }
  Cells PlayerFiles() {
    Cells out;
    for (const Entry& e : player->playlist) out.push_back(e.file);
    return out;
  }
  // The playlist's lines: an .m3u names the files as the ANSI code page can.
  std::string Lines(const std::string& names, bool m3u) {
    std::string text;
    for (char n : names) {
      std::string file = MusicFile(std::string(1, n) + ".mp3");
      text += (m3u ? M3uName(file) : file) + "\r\n";
    }
    return text;
  }
};

TEST_F(HitlistCommandsTest, ContextMenusFollowTheListType) {
  // {list type, a row focused, the menu's items}
  const std::tuple<int, bool, const char*> cases[] = {
      {0, false, ""},
      {0, true, "Remove|Edit Song|Edit Album|Edit Artist"},
      {1, true, "Edit Album|Edit Artist"},
      {2, true, "Edit Artist"},
      {3, true, ""},
  };
  Start();
  for (auto [type, focused, menu] : cases) {
    SCOPED_TRACE(testing::Message() << "type " << type << " focused " << focused);
    Refresh(type, 1);
    if (focused) FocusRow(0);
    gWatched.menus.clear();
    Notify(NM_RCLICK);
    std::string shown;
    for (const auto& items : gWatched.menus) {
      for (const MenuItem& item : items) shown += (shown.empty() ? "" : "|") + item.text;
    }
    EXPECT_EQ(shown, menu);
  }
  // The items carry the commands the window answers.
  Refresh(0, 1);
  FocusRow(0);
  Notify(NM_RCLICK);
  ASSERT_FALSE(gWatched.menus.empty()) << "no menu was shown";
  ASSERT_EQ(gWatched.menus.back().size(), 4u);
  EXPECT_EQ(gWatched.menus.back()[0].id, static_cast<UINT>(ID_REMOVE));
  EXPECT_EQ(gWatched.menus.back()[3].id, static_cast<UINT>(ID_EDITARTIST));
}

TEST_F(HitlistCommandsTest, RemoveAsksFirstAndTakesTheFocusedSong) {
  Start();
  Refresh(0, 1);
  ListCommand(ID_REMOVE);
  Refresh(1, 1);
  FocusRow(0);
  ListCommand(ID_REMOVE);
  EXPECT_TRUE(gWatched.boxes.empty()) << "no focused row, then an album row: not a song";

  Refresh(0, 1);
  FocusRow(1);
  gWatched.recomputed = 0;
  ListCommand(ID_REMOVE);
  ASSERT_EQ(gWatched.boxes.size(), 1u);
  const BoxCall& box = gWatched.boxes[0];
  EXPECT_EQ(box.text,
            "The selected song will be completely removed from the "
            "database.\n\nAre you sure?");
  EXPECT_EQ(box.caption, "Remove Song from Database");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_FALSE(box.panelEnabled) << "no refresh can replace the list meanwhile";
  EXPECT_TRUE(IsWindowEnabled(Tool()));
  EXPECT_EQ(Rows(), 4) << "No changes nothing";
  EXPECT_EQ(gWatched.recomputed, 0);

  gWatched.boxAnswer = IDYES;
  ListCommand(ID_REMOVE);
  EXPECT_EQ(gWatched.recomputed, 1);
  EXPECT_EQ(List(1, true), "alpha|delta|gamma");
  Refresh(3, 4);
  EXPECT_EQ(Rows(), 5) << "beta's plays are gone from every list";
  Refresh(2, 4);
  EXPECT_EQ(List(2), "3|2");
}

// Play, enqueue and save as playlist hand the list's songs over as a playlist
// file.
struct PlaylistCase {
  const char* name;
  int type, period, top;
  WPARAM command;
  const char* songs;  // the playlist's tracks, "" when none is written
  bool saved;         // to the file chosen in the save dialog, not to the player
  const char* playerAfter;
  int stateAfter;
};

const PlaylistCase kPlaylists[] = {
    {"play replaces and starts", 0, 1, 2, ID_PLAY, "ab", false, "ab", 1},
    {"enqueue appends the log in its order", 3, 1, 5, ID_ENQUEUE, "dabca", false, "xdabca", 0},
    {"albums in database order", 1, 1, 100, ID_PLAY, "abcd", false, "abcd", 1},
    {"an artist's songs", 2, 1, 1, ID_ENQUEUE, "ab", false, "xab", 0},
    {"save as playlist", 0, 1, 2, ID_SAVEPLAYLIST, "ab", true, "x", 0},
    {"an empty list plays nothing", 0, 0, 100, ID_PLAY, "", false, "x", 0},
    {"nor enqueues", 0, 0, 100, ID_ENQUEUE, "", false, "x", 0},
    {"nor asks where to save", 0, 0, 100, ID_SAVEPLAYLIST, "", true, "x", 0},
};

TEST_F(HitlistCommandsTest, PlaylistsOfTheListOnShow) {
  Start();
  for (const PlaylistCase& c : kPlaylists) {
    SCOPED_TRACE(c.name);
    player->playlist = {{MusicFile("x.mp3"), 100}};
    player->state = 0;
    RemoveTree(DataFile("temphit.m3u8"));
    RemoveTree(MusicFile("saved.m3u"));
    gWatched.saves.clear();
    gWatched.saveAnswer = MusicFile("saved.m3u");
    Refresh(c.type, c.period, c.top);
    ListCommand(c.command);
    // The player takes the UTF-8 playlist by its wide path.
    std::string written = ReadText(c.saved ? MusicFile("saved.m3u") : DataFile("temphit.m3u8"));
    EXPECT_EQ(written, Lines(c.songs, c.saved));
    EXPECT_EQ(SizeOf(DataFile("temphit.m3u8")) > 0, *c.songs && !c.saved);
    EXPECT_EQ(gWatched.saves.size(), c.saved && *c.songs ? 1u : 0u);
    Cells files;
    for (char n : std::string(c.playerAfter))
      files.push_back(MusicFile(std::string(1, n) + ".mp3"));
    EXPECT_EQ(PlayerFiles(), files);
    EXPECT_EQ(player->state, c.stateAfter);
    if (c.stateAfter) {
      EXPECT_EQ(player->position, 0);
    }
    for (HWND w : {Hit(), Tool()}) EXPECT_TRUE(IsWindowEnabled(w)) << "enabled again";
  }
  ASSERT_EQ(gWatched.saves.size(), 0u);
  Refresh(0, 1, 2);
  gWatched.saveAnswer.clear();  // cancelled
  ListCommand(ID_SAVEPLAYLIST);
  ASSERT_EQ(gWatched.saves.size(), 1u);
  const FileDialogCall& save = gWatched.saves[0];
  EXPECT_EQ(save.title, "Save Playlist As");
  EXPECT_EQ(save.filter, "M3U8 Playlist Files (UTF-8)|*.m3u8|M3U Playlist Files|*.m3u|");
  EXPECT_TRUE(save.flags & OFN_OVERWRITEPROMPT);
  EXPECT_EQ(save.owner, Hit());
  EXPECT_EQ(SizeOf(MusicFile("saved.m3u")), -1);
}

}  // namespace
}  // namespace spinox::e2e
