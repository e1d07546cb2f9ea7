// The options panel: its controls at start-up, the enabling rules as the user changes them,
// the filters, and the buttons that hand their commands to the hit list window.
#include "tests/e2e/hitlist_util_win.h"

namespace spinox::e2e {
namespace {

class HitlistToolTest : public HitlistTest {
 protected:
  void RecordSome() {
    int32_t t = now - 2 * kDay;
    for (const Track* p : {&kA, &kB, &kA, &kC, &kA, &kC}) Record(*p, t += kHour);
  }
};

TEST_F(HitlistToolTest, StartUpShowsTheSavedSettings) {
  SettingsRecord rec = DefaultSettings();
  rec.list._type = 1;
  rec.list._period = 5;
  rec.list._size = 25;
  rec.list._check = 2;
  rec.list._pos = 1;
  rec.list._change = 0;
  rec.list._start = 1072915200;  // 2004-01-01 00:00 UTC
  rec.list._end = 1075593600;    // 2004-02-01 00:00 UTC
  Start(rec);
  EXPECT_EQ(ComboEntries(Tool(), IDC_TYPE), (Cells{"Songs", "Albums", "Artists", "Log"}));
  EXPECT_EQ(ComboEntries(Tool(), IDC_PERIOD),
            (Cells{"Day", "Week", "Month", "Year", "All", "User Defined"}));
  EXPECT_EQ(ComboEntries(Tool(), IDC_FILTERTYPE), (Cells{"None", "Artist", "Winamp Playlist"}));
  EXPECT_EQ(ComboText(Tool(), IDC_FILTERTYPE), "None");
  EXPECT_EQ(ComboText(Tool(), IDC_TYPE), "Albums");
  EXPECT_EQ(ComboText(Tool(), IDC_PERIOD), "User Defined");
  char top[20] = {};
  GetDlgItemTextA(Tool(), IDC_SHOWTOP, top, sizeof top);
  EXPECT_STREQ(top, "25");
  EXPECT_TRUE(Checked(IDC_EXACTTIME));
  EXPECT_FALSE(Checked(IDC_DAYS));
  EXPECT_TRUE(Checked(IDC_LASTPOS));
  EXPECT_FALSE(Checked(IDC_CHANGE));
  EXPECT_FALSE(Enabled(Tool(), IDC_DAYS)) << "only the songs list has the column";
  EXPECT_TRUE(Enabled(Tool(), IDC_FROM));
  EXPECT_TRUE(Enabled(Tool(), IDC_LASTPOS));
  EXPECT_FALSE(Enabled(Tool(), IDC_FILTERVALUE));
  SYSTEMTIME shown = {};
  SendDlgItemMessageA(Tool(), IDC_TO, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wYear, 2004);
  EXPECT_EQ(shown.wMonth, 2);
  EXPECT_EQ(shown.wDay, 1);
  EXPECT_FALSE(Enabled(Hit(), IDC_PERIODSCROLL)) << "until the first refresh";
}

TEST_F(HitlistToolTest, PeriodsEnableThePickersAndThePositionBoxes) {
  Start();
  EXPECT_FALSE(Enabled(Tool(), IDC_FROM));
  EXPECT_FALSE(Enabled(Tool(), IDC_TO));
  Choose(IDC_PERIOD, 5);
  EXPECT_TRUE(Enabled(Tool(), IDC_FROM));
  EXPECT_TRUE(Enabled(Tool(), IDC_TO));
  SetCheck(IDC_LASTPOS, true);
  SetCheck(IDC_CHANGE, true);
  Choose(IDC_PERIOD, 4);
  EXPECT_FALSE(Enabled(Tool(), IDC_FROM));
  EXPECT_FALSE(Enabled(Tool(), IDC_LASTPOS)) << "All has no previous period";
  EXPECT_FALSE(Enabled(Tool(), IDC_CHANGE));
  EXPECT_TRUE(Checked(IDC_LASTPOS)) << "the check marks stay";
  EXPECT_TRUE(Checked(IDC_CHANGE));
  Choose(IDC_PERIOD, 1);
  EXPECT_TRUE(Enabled(Tool(), IDC_LASTPOS));
  Choose(IDC_TYPE, 3);
  EXPECT_FALSE(Enabled(Tool(), IDC_LASTPOS)) << "the log has no positions";
  Choose(IDC_PERIOD, 2);
  EXPECT_FALSE(Enabled(Tool(), IDC_CHANGE)) << "still the log";
  Choose(IDC_TYPE, 2);
  EXPECT_TRUE(Enabled(Tool(), IDC_CHANGE));
}

TEST_F(HitlistToolTest, ExactTimeAndNumberOfDaysExcludeEachOther) {
  Start();
  EXPECT_TRUE(Enabled(Tool(), IDC_DAYS));
  SetCheck(IDC_DAYS, true);
  Click(Tool(), IDC_EXACTTIME);
  EXPECT_TRUE(Checked(IDC_EXACTTIME));
  EXPECT_FALSE(Checked(IDC_DAYS));
  Click(Tool(), IDC_DAYS);
  EXPECT_TRUE(Checked(IDC_DAYS));
  EXPECT_FALSE(Checked(IDC_EXACTTIME));
  Choose(IDC_TYPE, 1);
  EXPECT_FALSE(Enabled(Tool(), IDC_DAYS));
  EXPECT_FALSE(Enabled(Tool(), IDC_EXACTTIME));
  Choose(IDC_TYPE, 0);
  EXPECT_TRUE(Enabled(Tool(), IDC_EXACTTIME));
}

TEST_F(HitlistToolTest, FilterListsFollowTheListType) {
  RecordSome();
  Start();
  EXPECT_EQ(ComboEntries(Tool(), IDC_FILTERTYPE),
            (Cells{"None", "Album", "Artist", "Winamp Playlist"}));
  Choose(IDC_FILTERTYPE, 3);
  EXPECT_FALSE(Enabled(Tool(), IDC_FILTERVALUE));
  Choose(IDC_TYPE, 3);
  EXPECT_EQ(ComboEntries(Tool(), IDC_FILTERTYPE), (Cells{"None", "Album", "Artist"}));
  EXPECT_EQ(ComboText(Tool(), IDC_FILTERTYPE), "None");
  EXPECT_FALSE(Enabled(Tool(), IDC_FILTERVALUE));

  Choose(IDC_TYPE, 0);
  Choose(IDC_FILTERTYPE, 2);
  EXPECT_TRUE(Enabled(Tool(), IDC_FILTERVALUE));
  EXPECT_EQ(ComboEntries(Tool(), IDC_FILTERVALUE), (Cells{"band one", "band two"}));
  EXPECT_EQ(ComboText(Tool(), IDC_FILTERVALUE), "band one");
  Choose(IDC_FILTERVALUE, 1);
  Choose(IDC_TYPE, 1);
  EXPECT_EQ(ComboEntries(Tool(), IDC_FILTERTYPE), (Cells{"None", "Artist", "Winamp Playlist"}));
  EXPECT_EQ(ComboText(Tool(), IDC_FILTERTYPE), "Artist") << "kept";
  EXPECT_TRUE(Enabled(Tool(), IDC_FILTERVALUE));
  EXPECT_EQ(ComboText(Tool(), IDC_FILTERVALUE), "band two") << "with its value";
  Choose(IDC_TYPE, 2);
  EXPECT_EQ(ComboText(Tool(), IDC_FILTERTYPE), "None") << "the artists list has no artist filter";
  EXPECT_FALSE(Enabled(Tool(), IDC_FILTERVALUE));

  Choose(IDC_TYPE, 0);
  Choose(IDC_FILTERTYPE, 1);
  EXPECT_EQ(ComboEntries(Tool(), IDC_FILTERVALUE),
            (Cells{"band one - first", "band two - second"}));
  Choose(IDC_FILTERTYPE, 0);
  EXPECT_FALSE(Enabled(Tool(), IDC_FILTERVALUE));
}

TEST_F(HitlistToolTest, FiltersRestrictTheList) {
  RecordSome();
  Start();
  Choose(IDC_FILTERTYPE, 2);
  Choose(IDC_FILTERVALUE, 1);
  Refresh(0, 1);
  EXPECT_COLUMN(1, "gamma");
  EXPECT_EQ(Title().substr(Title().size() - 23), ") ( Artist = band two )") << Title();
  Choose(IDC_FILTERTYPE, 1);  // the albums, the first chosen
  Refresh(0, 1);
  EXPECT_COLUMN(1, "alpha", "beta");
  Refresh(3, 4);
  EXPECT_EQ(Title(), "Last 4 played ( Album = band one - first )");
  EXPECT_COLUMN(1, "alpha", "alpha", "beta", "alpha");
}

TEST_F(HitlistToolTest, ThePlaylistFilterScansWithTheProgressBar) {
  RecordSome();
  player->playlist = {{MusicFile("a.mp3"), 200},
                      {MusicFile("c.mp3"), 200},
                      {MakeTrack("z.mp3", "zeta", "band two", "second"), 200}};
  Start();
  gShown.clear();
  gWatchedProgress = GetDlgItem(Hit(), IDC_PROGRESS);
  int64_t songs = SizeOf(DataFile("gen_spinox.sng"));
  Choose(IDC_FILTERTYPE, 3);
  Refresh(0, 1);
  EXPECT_COLUMN(1, "alpha", "gamma");  // zeta was never played: not in the database
  EXPECT_COLUMN(4, "3", "2") << "the membership mark is not shown";
  EXPECT_EQ(Title().substr(Title().size() - 21), ") ( Winamp Playlist )") << Title();
  EXPECT_EQ(gShown, (std::vector<int>{SW_SHOW, SW_HIDE}));
  EXPECT_FALSE(IsWindowVisible(gWatchedProgress));
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.sng")), songs) << "the filter stores nothing";
}

TEST_F(HitlistToolTest, TheButtonsHandTheirCommandsToTheList) {
  RecordSome();
  Start();
  Refresh(0, 1);
  Click(Tool(), IDC_PLAYHITLIST);
  ASSERT_EQ(player->playlist.size(), 3u);
  EXPECT_EQ(player->playlist[0].file, MusicFile("a.mp3"));
  EXPECT_EQ(player->state, 1);
  Click(Tool(), IDC_ENQUEUEHITLIST);
  EXPECT_EQ(player->playlist.size(), 6u);
  gSaveAnswer = MusicFile("saved.m3u");
  Click(Tool(), IDC_SAVEPLAYLIST);
  EXPECT_EQ(gSaveDialogs.size(), 1u);
  EXPECT_EQ(SizeOf(gSaveAnswer) > 0, true);
  Click(Tool(), IDC_GENERATEHTML);
  HWND html = FindWindowA(nullptr, "Generate HTML");
  ASSERT_NE(html, nullptr);
  EXPECT_TRUE(IsWindowVisible(html));
  EXPECT_TRUE(IsWindowEnabled(Tool())) << "enabled again after each command";
  EXPECT_TRUE(IsWindowEnabled(Hit()));
}

TEST_F(HitlistToolTest, EscapeHidesThePanelAndTheList) {
  Start();
  SendMessageA(Tool(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindowVisible(player->frames[0]));
  EXPECT_FALSE(IsWindowVisible(Tool()));
  EXPECT_TRUE(IsWindowVisible(player->frames[1]));
  SendMessageA(Hit(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindowVisible(player->frames[1]));
  EXPECT_FALSE(IsWindowVisible(Hit()));
}

}  // namespace
}  // namespace spinox::e2e
