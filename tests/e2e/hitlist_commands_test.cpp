// The options panel and the hit list window's commands: the panel's enabling
// rules and filters, the context menus, remove, play, enqueue and save as
// playlist, through the real windows and the test player.
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
  std::string Lines(const std::string& names) {
    std::string text;
    for (char n : names) text += MusicFile(std::string(1, n) + ".mp3") + "\r\n";
    return text;
  }
};

// A step of the user on the options panel (a button when index < 0) and the
// panel afterwards: its switches (a letter in capitals when enabled, '+' when
// checked: From, To, last Position, Change, Days, Exact time, filter Value) and
// its filter lists ("types = chosen: values").
struct PanelStep {
  const char* name;
  int control, index;
  const char* switches;
  const char* filters;
};

// clang-format off
const PanelStep kPanelSteps[] = {
    {"at start", IDC_TYPE, 0, "ftPCDEv", "None|Album|Artist|Winamp Playlist = None"},
    {"user period", IDC_PERIOD, 5, "FTPCDEv", nullptr},
    {"last position", IDC_LASTPOS, -1, "FTP+CDEv", nullptr},
    {"change", IDC_CHANGE, -1, "FTP+C+DEv", nullptr},
    {"all has no previous period", IDC_PERIOD, 4, "ftp+c+DEv", nullptr},
    {"week", IDC_PERIOD, 1, "ftP+C+DEv", nullptr},
    {"the log has no positions", IDC_TYPE, 3, "ftp+c+dev", "None|Album|Artist = None"},
    {"still the log", IDC_PERIOD, 2, "ftp+c+dev", nullptr},
    {"artists", IDC_TYPE, 2, "ftP+C+dev", "None|Winamp Playlist = None"},
    {"songs", IDC_TYPE, 0, "ftP+C+DEv", nullptr},
    {"days", IDC_DAYS, -1, "ftP+C+D+Ev", nullptr},
    {"exact time excludes days", IDC_EXACTTIME, -1, "ftP+C+DE+v", nullptr},
    {"and days exact time", IDC_DAYS, -1, "ftP+C+D+Ev", nullptr},
    {"the playlist has no value", IDC_FILTERTYPE, 3, nullptr,
     "None|Album|Artist|Winamp Playlist = Winamp Playlist"},
    {"the log has no playlist filter", IDC_TYPE, 3, nullptr, "None|Album|Artist = None"},
    {"songs again", IDC_TYPE, 0, nullptr, "None|Album|Artist|Winamp Playlist = None"},
    {"an artist", IDC_FILTERTYPE, 2, "ftP+C+D+EV",
     "None|Album|Artist|Winamp Playlist = Artist: band one|band two"},
    {"the albums keep the artist filter", IDC_TYPE, 1, "ftP+C+d+eV",
     "None|Artist|Winamp Playlist = Artist: band one|band two"},
    {"the artists list has none", IDC_TYPE, 2, "ftP+C+d+ev", "None|Winamp Playlist = None"},
    {"albums offered", IDC_TYPE, 0, nullptr, "None|Album|Artist|Winamp Playlist = None"},
    {"an album", IDC_FILTERTYPE, 1, nullptr,
     "None|Album|Artist|Winamp Playlist = Album: band one - first|band two - second|"
     "band two - third"},
};
// clang-format on

TEST_F(HitlistCommandsTest, ThePanelFollowsTheUsersChoices) {
  Start();
  const std::pair<char, int> switches[] = {
      {'f', IDC_FROM}, {'t', IDC_TO},        {'p', IDC_LASTPOS},    {'c', IDC_CHANGE},
      {'d', IDC_DAYS}, {'e', IDC_EXACTTIME}, {'v', IDC_FILTERVALUE}};
  for (const PanelStep& s : kPanelSteps) {
    SCOPED_TRACE(s.name);
    if (s.index < 0) Click(Tool(), s.control);
    if (s.index >= 0) Choose(Tool(), s.control, s.index);
    std::string shown;
    for (auto [letter, id] : switches) {
      shown += IsOn(Tool(), id) ? static_cast<char>(letter - 'a' + 'A') : letter;
      if (IsChecked(Tool(), id)) shown += '+';
    }
    std::string filters =
        Join(Entries(Tool(), IDC_FILTERTYPE)) + " = " + TextOf(Tool(), IDC_FILTERTYPE);
    if (IsOn(Tool(), IDC_FILTERVALUE)) filters += ": " + Join(Entries(Tool(), IDC_FILTERVALUE));
    EXPECT_EQ(shown, s.switches ? s.switches : shown);
    EXPECT_EQ(filters, s.filters ? s.filters : filters);
  }
  // What the filters keep.
  SetCheck(IDC_LASTPOS, false);
  SetCheck(IDC_CHANGE, false);
  Choose(Tool(), IDC_FILTERVALUE, 2);  // band two - third
  Refresh(0, 1);
  EXPECT_EQ(List(1), "delta");
  EXPECT_EQ(Title().substr(Title().find(") (")), ") ( Album = band two - third )") << Title();
  Choose(Tool(), IDC_FILTERTYPE, 2);  // band one
  Refresh(3, 4);
  EXPECT_EQ(Title(), "Last 5 played ( Artist = band one )");
  EXPECT_EQ(List(1), "alpha|beta|alpha|beta|alpha");
  Choose(Tool(), IDC_TYPE, 0);
  Choose(Tool(), IDC_FILTERVALUE, 1);  // band two
  Refresh(1, 4);
  EXPECT_EQ(List(1, true), "second|third");
}

TEST_F(HitlistCommandsTest, ThePlaylistFilterScansWithTheProgressBar) {
  player->playlist = {{MusicFile("a.mp3"), 200},
                      {MusicFile("c.mp3"), 200},
                      {MakeTrack("z.mp3", "zeta", "x", "y"), 200}};
  Start();
  int64_t songs = SizeOf(DataFile("gen_spinox.sng"));
  Choose(Tool(), IDC_FILTERTYPE, 3);
  Refresh(0, 1);
  EXPECT_EQ(List(1), "alpha|gamma") << "zeta was never played";
  EXPECT_EQ(List(4), "3|1") << "the membership mark is not shown";
  EXPECT_EQ(Title().substr(Title().find(") (")), ") ( Winamp Playlist )") << Title();
  EXPECT_EQ(gWatched.progressShown, (std::vector<int>{SW_SHOW, SW_HIDE}));
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.sng")), songs) << "the filter stores nothing";
}

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
