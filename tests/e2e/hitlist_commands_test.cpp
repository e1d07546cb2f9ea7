// The options panel and the hit list window's commands: the panel's enabling rules and filters,
// the context menus, remove, play, enqueue and save as playlist, through the real windows and
// the test player.
#include <algorithm>

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
  std::string Lines(const std::string& names) {
    std::string text;
    for (char n : names) text += MusicFile(std::string(1, n) + ".mp3") + "\r\n";
    return text;
  }
};

// One step of the user on the options panel, and the state of its controls afterwards.
struct PanelStep {
  const char* name;
  int control;  // a drop-down list, or a button when index < 0
  int index;
  std::vector<int> on, off, checked, unchecked;
};

const PanelStep kPanelSteps[] = {
    {"at start", IDC_TYPE, 0, {IDC_DAYS}, {IDC_FROM, IDC_TO, IDC_FILTERVALUE}, {}, {}},
    {"user period", IDC_PERIOD, 5, {IDC_FROM, IDC_TO}, {}, {}, {}},
    {"last position", IDC_LASTPOS, -1, {}, {}, {IDC_LASTPOS}, {}},
    {"change", IDC_CHANGE, -1, {}, {}, {IDC_CHANGE}, {}},
    {"all has no previous period",
     IDC_PERIOD,
     4,
     {},
     {IDC_FROM, IDC_LASTPOS, IDC_CHANGE},
     {IDC_LASTPOS, IDC_CHANGE},
     {}},
    {"week", IDC_PERIOD, 1, {IDC_LASTPOS, IDC_CHANGE}, {}, {}, {}},
    {"the log has no positions", IDC_TYPE, 3, {}, {IDC_LASTPOS, IDC_CHANGE}, {}, {}},
    {"still the log", IDC_PERIOD, 2, {}, {IDC_CHANGE}, {}, {}},
    {"artists", IDC_TYPE, 2, {IDC_CHANGE, IDC_LASTPOS}, {IDC_DAYS, IDC_EXACTTIME}, {}, {}},
    {"songs", IDC_TYPE, 0, {IDC_DAYS, IDC_EXACTTIME}, {}, {}, {}},
    {"days", IDC_DAYS, -1, {}, {}, {IDC_DAYS}, {IDC_EXACTTIME}},
    {"exact time excludes days", IDC_EXACTTIME, -1, {}, {}, {IDC_EXACTTIME}, {IDC_DAYS}},
    {"and days exact time", IDC_DAYS, -1, {}, {}, {IDC_DAYS}, {IDC_EXACTTIME}},
    {"albums", IDC_TYPE, 1, {}, {IDC_DAYS, IDC_EXACTTIME}, {}, {}},
};

TEST_F(HitlistCommandsTest, ThePanelsRulesFollowTheUsersChoices) {
  Start();
  for (const PanelStep& s : kPanelSteps) {
    SCOPED_TRACE(s.name);
    if (s.index < 0)
      Click(Tool(), s.control);
    else
      Choose(Tool(), s.control, s.index);
    for (int id : s.on) EXPECT_TRUE(IsOn(Tool(), id)) << id;
    for (int id : s.off) EXPECT_FALSE(IsOn(Tool(), id)) << id;
    for (int id : s.checked) EXPECT_TRUE(IsChecked(Tool(), id)) << id;
    for (int id : s.unchecked) EXPECT_FALSE(IsChecked(Tool(), id)) << id;
  }
}

// The filter's drop-down lists as the list type changes, and what the filters keep.
struct FilterStep {
  const char* name;
  int control, index;
  Cells filters;  // the filter types offered
  const char* filter;
  Cells values;  // the values offered, when the value list is on
};

const Cells kAllFilters = {"None", "Album", "Artist", "Winamp Playlist"};
const FilterStep kFilterSteps[] = {
    {"songs", IDC_TYPE, 0, kAllFilters, "None", {}},
    {"the playlist has no value", IDC_FILTERTYPE, 3, kAllFilters, "Winamp Playlist", {}},
    {"the log has no playlist filter", IDC_TYPE, 3, {"None", "Album", "Artist"}, "None", {}},
    {"artists offered", IDC_TYPE, 0, kAllFilters, "None", {}},
    {"an artist", IDC_FILTERTYPE, 2, kAllFilters, "Artist", {"band one", "band two"}},
    {"the albums keep the artist filter",
     IDC_TYPE,
     1,
     {"None", "Artist", "Winamp Playlist"},
     "Artist",
     {"band one", "band two"}},
    {"the artists list has none", IDC_TYPE, 2, {"None", "Winamp Playlist"}, "None", {}},
    {"albums offered", IDC_TYPE, 0, kAllFilters, "None", {}},
    {"an album",
     IDC_FILTERTYPE,
     1,
     kAllFilters,
     "Album",
     {"band one - first", "band two - second", "band two - third"}},
};

TEST_F(HitlistCommandsTest, FilterListsFollowTheListTypeAndRestrictTheList) {
  Start();
  for (const FilterStep& s : kFilterSteps) {
    SCOPED_TRACE(s.name);
    Choose(Tool(), s.control, s.index);
    EXPECT_EQ(Entries(Tool(), IDC_FILTERTYPE), s.filters);
    EXPECT_EQ(TextOf(Tool(), IDC_FILTERTYPE), s.filter);
    EXPECT_EQ(IsOn(Tool(), IDC_FILTERVALUE), !s.values.empty());
    if (!s.values.empty()) {
      EXPECT_EQ(Entries(Tool(), IDC_FILTERVALUE), s.values);
    }
  }
  Choose(Tool(), IDC_FILTERVALUE, 2);  // band two - third
  Refresh(0, 1);
  EXPECT_EQ(Column(1), Cells{"delta"});
  EXPECT_EQ(Title().substr(Title().find(") (")), ") ( Album = band two - third )") << Title();
  Choose(Tool(), IDC_FILTERTYPE, 2);  // band one
  Refresh(3, 4);
  EXPECT_EQ(Title(), "Last 5 played ( Artist = band one )");
  EXPECT_EQ(Column(1), (Cells{"alpha", "beta", "alpha", "beta", "alpha"}));
  Choose(Tool(), IDC_TYPE, 0);
  Choose(Tool(), IDC_FILTERVALUE, 1);  // band two
  Refresh(1, 4);
  Cells albums = Column(1);
  std::sort(albums.begin(), albums.end());
  EXPECT_EQ(albums, (Cells{"second", "third"}));
}

TEST_F(HitlistCommandsTest, ThePlaylistFilterScansWithTheProgressBar) {
  player->playlist = {{MusicFile("a.mp3"), 200},
                      {MusicFile("c.mp3"), 200},
                      {MakeTrack("z.mp3", "zeta", "x", "y"), 200}};
  Start();
  int64_t songs = SizeOf(DataFile("gen_spinox.sng"));
  Choose(Tool(), IDC_FILTERTYPE, 3);
  Refresh(0, 1);
  EXPECT_EQ(Column(1), (Cells{"alpha", "gamma"})) << "zeta was never played";
  EXPECT_EQ(Column(4), (Cells{"3", "1"})) << "the membership mark is not shown";
  EXPECT_EQ(Title().substr(Title().find(") (")), ") ( Winamp Playlist )") << Title();
  EXPECT_EQ(gWatched.progressShown, (std::vector<int>{SW_SHOW, SW_HIDE}));
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.sng")), songs) << "the filter stores nothing";
}

TEST_F(HitlistCommandsTest, ContextMenusFollowTheListType) {
  const struct {
    int type;
    bool focused;
    std::vector<MenuItem> menu;  // empty: none shown
  } cases[] = {
      {0, false, {}},
      {0,
       true,
       {{ID_REMOVE, "Remove"},
        {ID_EDITSONG, "Edit Song"},
        {ID_EDITALBUM, "Edit Album"},
        {ID_EDITARTIST, "Edit Artist"}}},
      {1, true, {{ID_EDITALBUM, "Edit Album"}, {ID_EDITARTIST, "Edit Artist"}}},
      {2, true, {{ID_EDITARTIST, "Edit Artist"}}},
      {3, true, {}},
  };
  Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " focused " << c.focused);
    Refresh(c.type, 1);
    if (c.focused) FocusRow(0);
    gWatched.menus.clear();
    Notify(NM_RCLICK);
    if (c.menu.empty())
      EXPECT_TRUE(gWatched.menus.empty());
    else
      EXPECT_EQ(gWatched.menus, std::vector<std::vector<MenuItem>>{c.menu});
  }
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
            "The selected song will be completely removed from the database.\n\nAre you sure?");
  EXPECT_EQ(box.caption, "Remove Song from Database");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_FALSE(box.panelEnabled) << "no refresh can replace the list meanwhile";
  EXPECT_TRUE(IsWindowEnabled(Tool()));
  EXPECT_EQ(Rows(), 4) << "No changes nothing";
  EXPECT_EQ(gWatched.recomputed, 0);

  gWatched.boxAnswer = IDYES;
  ListCommand(ID_REMOVE);
  EXPECT_EQ(gWatched.recomputed, 1);
  Cells titles = Column(1);
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles, (Cells{"alpha", "delta", "gamma"}));
  Refresh(3, 4);
  EXPECT_EQ(Rows(), 5) << "beta's plays are gone from every list";
  Refresh(2, 4);
  EXPECT_EQ(Column(2), (Cells{"3", "2"}));
}

// Play, enqueue and save as playlist hand the list's songs over as a playlist file.
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
    DeleteFileA(DataFile("temphit.m3u").c_str());
    DeleteFileA(MusicFile("saved.m3u").c_str());
    gWatched.saves.clear();
    gWatched.saveAnswer = MusicFile("saved.m3u");
    Refresh(c.type, c.period, c.top);
    ListCommand(c.command);
    std::string written = ReadText(c.saved ? MusicFile("saved.m3u") : DataFile("temphit.m3u"));
    EXPECT_EQ(written, Lines(c.songs));
    EXPECT_EQ(SizeOf(DataFile("temphit.m3u")) > 0, *c.songs && !c.saved);
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
  EXPECT_EQ(save.filter, "M3U Playlist Files|*.m3u|");
  EXPECT_EQ(save.filterIndex, 1u);
  EXPECT_EQ(save.maxFile, 250u);
  EXPECT_TRUE(save.flags & OFN_OVERWRITEPROMPT);
  EXPECT_EQ(save.defExt, "m3u");
  EXPECT_EQ(save.owner, Hit());
  EXPECT_EQ(SizeOf(MusicFile("saved.m3u")), -1);
}

TEST_F(HitlistCommandsTest, ThePanelsButtonsHandTheirCommandsToTheList) {
  Start();
  Refresh(0, 1, 2);
  Click(Tool(), IDC_PLAYHITLIST);
  EXPECT_EQ(PlayerFiles(), (Cells{MusicFile("a.mp3"), MusicFile("b.mp3")}));
  EXPECT_EQ(player->state, 1);
  Click(Tool(), IDC_ENQUEUEHITLIST);
  EXPECT_EQ(player->playlist.size(), 4u);
  gWatched.saveAnswer = MusicFile("saved.m3u");
  Click(Tool(), IDC_SAVEPLAYLIST);
  EXPECT_EQ(ReadText(gWatched.saveAnswer), Lines("ab"));
  Click(Tool(), IDC_GENERATEHTML);
  ASSERT_NE(Html(), nullptr);
  EXPECT_TRUE(IsWindowVisible(Html()));
  EXPECT_TRUE(IsWindowEnabled(Tool())) << "enabled again after each command";
  EXPECT_TRUE(IsWindowEnabled(Hit()));

  // Escape hides each window with its frame.
  SendMessageA(Tool(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindowVisible(player->frames[0]));
  EXPECT_TRUE(IsWindowVisible(player->frames[1]));
  SendMessageA(Hit(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindowVisible(player->frames[1]));
}

}  // namespace
}  // namespace spinox::e2e
