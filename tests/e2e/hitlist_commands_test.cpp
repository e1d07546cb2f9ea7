// The hit list window's commands: the context menus, remove, play, enqueue and save as
// playlist, through the real window and the test player.
#include <cstring>

#include "tests/e2e/hitlist_util_win.h"

namespace spinox::e2e {
namespace {

class HitlistCommandsTest : public HitlistTest {
 protected:
  // Two days ago: alpha 3, beta 2, gamma 1; songs 0, 1, 2.
  void SetUp() override {
    HitlistTest::SetUp();
    int32_t t = now - 2 * kDay;
    for (const Track* p : {&kA, &kB, &kA, &kC, &kB, &kA}) Record(*p, t += kHour);
    Start();
  }
  std::vector<std::string> PlayerFiles() {
    std::vector<std::string> out;
    for (const Entry& e : player->playlist) out.push_back(e.file);
    return out;
  }
  std::string Lines(std::initializer_list<const char*> names) {
    std::string text;
    for (const char* n : names) text += MusicFile(n) + "\r\n";
    return text;
  }
  std::string FileText(const std::string& path) {
    std::vector<unsigned char> bytes = ReadAll(path);
    return std::string(bytes.begin(), bytes.end());
  }
  std::string TempList() { return DataFile("temphit.m3u"); }
};

TEST_F(HitlistCommandsTest, RemoveAsksFirst) {
  Refresh(0, 1);
  FocusRow(1);
  gBoxAnswer = IDNO;
  gDisabled = 0;
  ListCommand(ID_REMOVE);
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].text,
            "The selected song will be completely removed from the database.\n\nAre you sure?");
  EXPECT_EQ(gBoxes[0].caption, "Remove Song from Database");
  EXPECT_EQ(gBoxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_FALSE(gBoxes[0].panelEnabled) << "no refresh can replace the list meanwhile";
  EXPECT_TRUE(IsWindowEnabled(Tool()));
  EXPECT_EQ(Rows(), 3) << "No changes nothing";
  EXPECT_EQ(gDisabled, 0);

  gBoxAnswer = IDYES;
  ListCommand(ID_REMOVE);
  EXPECT_EQ(gDisabled, 1) << "recomputed";
  EXPECT_COLUMN(1, "alpha", "gamma");
  Refresh(3, 4);
  EXPECT_EQ(Rows(), 4) << "beta's plays are gone from every list";
  Refresh(2, 4);
  EXPECT_COLUMN(2, "3", "1");
}

TEST_F(HitlistCommandsTest, RemoveNeedsAFocusedSongRow) {
  Refresh(0, 1);
  gBoxAnswer = IDYES;
  ListCommand(ID_REMOVE);
  EXPECT_TRUE(gBoxes.empty()) << "no row has the focus";
  Refresh(1, 1);
  FocusRow(0);
  ListCommand(ID_REMOVE);
  EXPECT_TRUE(gBoxes.empty()) << "an album's id is not a song's";
  Refresh(0, 1);
  EXPECT_EQ(Rows(), 3);
}

TEST_F(HitlistCommandsTest, ContextMenusFollowTheListType) {
  Refresh(0, 1);
  Notify(NM_RCLICK);
  EXPECT_TRUE(gMenus.empty()) << "no row has the focus";
  FocusRow(0);
  Notify(NM_RCLICK);
  ASSERT_EQ(gMenus.size(), 1u);
  std::vector<MenuItem> songs = {{ID_REMOVE, "Remove"},
                                 {ID_EDITSONG, "Edit Song"},
                                 {ID_EDITALBUM, "Edit Album"},
                                 {ID_EDITARTIST, "Edit Artist"}};
  EXPECT_EQ(gMenus[0], songs);
  Refresh(1, 1);
  FocusRow(0);
  Notify(NM_RCLICK);
  std::vector<MenuItem> albums = {{ID_EDITALBUM, "Edit Album"}, {ID_EDITARTIST, "Edit Artist"}};
  EXPECT_EQ(gMenus.back(), albums);
  Refresh(2, 1);
  FocusRow(0);
  Notify(NM_RCLICK);
  std::vector<MenuItem> artists = {{ID_EDITARTIST, "Edit Artist"}};
  EXPECT_EQ(gMenus.back(), artists);
  Refresh(3, 1);
  FocusRow(0);
  size_t shown = gMenus.size();
  Notify(NM_RCLICK);
  EXPECT_EQ(gMenus.size(), shown) << "the log has no menu";
}

TEST_F(HitlistCommandsTest, PlayReplacesThePlaylistAndStarts) {
  player->playlist = {{MusicFile("x.mp3"), 100}};
  Refresh(0, 1);
  ListCommand(ID_PLAY);
  EXPECT_EQ(FileText(TempList()), Lines({"a.mp3", "b.mp3", "c.mp3"}));
  EXPECT_EQ(PlayerFiles(), (Cells{MusicFile("a.mp3"), MusicFile("b.mp3"), MusicFile("c.mp3")}));
  EXPECT_EQ(player->state, 1);
  EXPECT_EQ(player->position, 0);
  for (HWND w : {Hit(), Tool(), player->frames[0], player->frames[1]})
    EXPECT_TRUE(IsWindowEnabled(w)) << "enabled again";
}

TEST_F(HitlistCommandsTest, EnqueueAppendsWithoutPlaying) {
  player->playlist = {{MusicFile("x.mp3"), 100}};
  Refresh(3, 1, 4);
  ListCommand(ID_ENQUEUE);
  EXPECT_EQ(FileText(TempList()), Lines({"a.mp3", "b.mp3", "c.mp3", "a.mp3"}))
      << "the log in its order, a song twice when played twice";
  EXPECT_EQ(PlayerFiles().size(), 5u);
  EXPECT_EQ(PlayerFiles()[0], MusicFile("x.mp3"));
  EXPECT_EQ(player->state, 0);
}

TEST_F(HitlistCommandsTest, AlbumsAndArtistsPlayEverySongInDatabaseOrder) {
  Record(Track{"d.mp3", "delta", "band two", "first"}, now - kHour);
  Refresh(1, 1);  // three albums
  ListCommand(ID_PLAY);
  EXPECT_EQ(FileText(TempList()), Lines({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
  Refresh(2, 1, 1);  // band one
  ListCommand(ID_ENQUEUE);
  EXPECT_EQ(FileText(TempList()), Lines({"a.mp3", "b.mp3"}));
}

TEST_F(HitlistCommandsTest, AnEmptyListTouchesNothing) {
  player->playlist = {{MusicFile("x.mp3"), 100}};
  Refresh(0, 0);  // nothing played in the last day
  ASSERT_EQ(Rows(), 0);
  ListCommand(ID_PLAY);
  ListCommand(ID_ENQUEUE);
  gSaveAnswer = MusicFile("never.m3u");
  ListCommand(ID_SAVEPLAYLIST);
  EXPECT_EQ(SizeOf(TempList()), -1);
  EXPECT_EQ(PlayerFiles(), (Cells{MusicFile("x.mp3")}));
  EXPECT_EQ(player->state, 0);
  EXPECT_TRUE(gSaveDialogs.empty()) << "not even the save dialog";
}

TEST_F(HitlistCommandsTest, SaveAsPlaylist) {
  Refresh(0, 1, 2);
  gSaveAnswer = MusicFile("top.m3u");
  ListCommand(ID_SAVEPLAYLIST);
  ASSERT_EQ(gSaveDialogs.size(), 1u);
  const OPENFILENAMEA& ofn = gSaveDialogs[0];
  EXPECT_STREQ(ofn.lpstrTitle, "Save Playlist As");
  EXPECT_EQ(std::memcmp(ofn.lpstrFilter, "M3U Playlist Files\0*.m3u\0\0", 26), 0);
  EXPECT_EQ(ofn.nFilterIndex, 1u);
  EXPECT_EQ(ofn.nMaxFile, 250u);
  EXPECT_TRUE(ofn.Flags & OFN_OVERWRITEPROMPT);
  EXPECT_STREQ(ofn.lpstrDefExt, "m3u");
  EXPECT_EQ(ofn.hwndOwner, Hit());
  EXPECT_EQ(FileText(gSaveAnswer), Lines({"a.mp3", "b.mp3"}));
  EXPECT_EQ(SizeOf(TempList()), -1) << "the player is not involved";
  EXPECT_TRUE(player->playlist.empty());

  gSaveAnswer.clear();  // cancelled
  ListCommand(ID_SAVEPLAYLIST);
  EXPECT_EQ(gSaveDialogs.size(), 2u);
  EXPECT_EQ(FileText(MusicFile("top.m3u")), Lines({"a.mp3", "b.mp3"}));
}

}  // namespace
}  // namespace spinox::e2e
