// What the hit list window shows after "Refresh Hitlist": columns, widths, cells, the title,
// the layout, the custom-drawn rows, and the period stepped with the scroll bar.
#include <algorithm>
#include <ctime>

#include "tests/e2e/hitlist_util_win.h"

namespace spinox::e2e {
namespace {

// The tracks of these tests are tagged in lower case.
const Track kA = {"a.mp3", "alpha", "band one", "first"};
const Track kB = {"b.mp3", "beta", "band one", "first"};
const Track kC = {"c.mp3", "gamma", "band two", "second"};
const Track kD = {"d.mp3", "delta", "band three", "third"};

using Cells = std::vector<std::string>;

class HitlistViewTest : public HitlistTest {
 protected:
  // Last week: Gamma 4, Alpha 2, Beta 1. This week: Alpha 4, Beta 3, Delta 2, Gamma 1.
  void RecordTwoWeeks() {
    int32_t t = now - 10 * kDay;
    for (const Track* p : {&kC, &kC, &kC, &kC, &kA, &kA, &kB}) Record(*p, t += kHour);
    t = now - 3 * kDay;
    for (const Track* p : {&kA, &kB, &kA, &kD, &kB, &kA, &kD, &kB, &kC, &kA})
      Record(*p, t += kHour);
  }
  void Positions(bool on) {
    SetCheck(IDC_LASTPOS, on);
    SetCheck(IDC_CHANGE, on);
  }
  std::string Date(int32_t t) {
    time_t when = t;
    char text[40] = {};
    std::strftime(text, sizeof text, "%d/%m/%y", std::localtime(&when));
    return text;
  }
  // The custom-draw answer for one stage of one row, and the colours it leaves.
  LRESULT Draw(DWORD stage, int row, NMLVCUSTOMDRAW* cd) {
    *cd = NMLVCUSTOMDRAW{};
    cd->nmcd.hdr.hwndFrom = GetDlgItem(Hit(), IDC_LIST);
    cd->nmcd.hdr.idFrom = IDC_LIST;
    cd->nmcd.hdr.code = NM_CUSTOMDRAW;
    cd->nmcd.dwDrawStage = stage;
    cd->nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    cd->clrText = RGB(1, 2, 3);
    cd->clrTextBk = RGB(4, 5, 6);
    return SendMessageA(Hit(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(cd));
  }
};

TEST_F(HitlistViewTest, EveryListTypeWithAndWithoutPositions) {
  RecordTwoWeeks();
  Start();
  Positions(true);
  Refresh(0, 1);
  EXPECT_EQ(Headings(), (Cells{"#", "Prev", "Chng", "Title", "Artist", "Album", "Hits"}));
  EXPECT_COLUMN(0, "1", "2", "3", "4");
  EXPECT_COLUMN(1, "2", "3", "-", "1");
  EXPECT_COLUMN(2, "+1", "+1", "*", "-3");
  EXPECT_COLUMN(3, "alpha", "beta", "delta", "gamma");
  EXPECT_COLUMN(4, "band one", "band one", "band three", "band two");
  EXPECT_COLUMN(5, "first", "first", "third", "second");
  EXPECT_COLUMN(6, "4", "3", "2", "1");

  Refresh(1, 1);
  EXPECT_EQ(Headings(), (Cells{"#", "Prev", "Chng", "Album", "Artist", "Hits"}));
  EXPECT_COLUMN(3, "first", "third", "second");
  EXPECT_COLUMN(1, "2", "-", "1");
  EXPECT_COLUMN(2, "+1", "*", "-2");
  EXPECT_COLUMN(5, "7", "2", "1");
  EXPECT_EQ(Title().rfind("Top 3 Albums ( ", 0), 0u) << Title();

  Refresh(2, 1);
  EXPECT_EQ(Headings(), (Cells{"#", "Prev", "Chng", "Artist", "Hits"}));
  EXPECT_COLUMN(3, "band one", "band three", "band two");
  EXPECT_COLUMN(2, "+1", "*", "-2");

  Refresh(3, 1);
  EXPECT_EQ(Headings(), (Cells{"#", "Title", "Artist", "Album", "Played"}))
      << "the log never compares";
  EXPECT_COLUMN(1, "alpha", "gamma", "beta", "delta", "alpha", "beta", "delta", "alpha", "beta",
                "alpha");
  EXPECT_EQ(Title().rfind("Log ( ", 0), 0u) << Title();

  Positions(false);
  for (int type = 0; type < 3; ++type) {
    Refresh(type, 1);
    Cells h = Headings();
    EXPECT_EQ(std::count(h.begin(), h.end(), "Prev"), 0) << type;
    EXPECT_EQ(std::count(h.begin(), h.end(), "Chng"), 0) << type;
  }
  EXPECT_EQ(Headings(), (Cells{"#", "Artist", "Hits"}));
}

TEST_F(HitlistViewTest, TitlesCountTheRowsShown) {
  RecordTwoWeeks();
  Start();
  Positions(true);
  int32_t before = ClockNow();
  Refresh(0, 1);
  std::string period = "( " + Date(before - kWeek) + " - " + Date(before) + " )";
  EXPECT_EQ(Title(), "Top 4 Songs " + period + " ");
  Refresh(0, 4);
  EXPECT_EQ(Headings(), (Cells{"#", "Title", "Artist", "Album", "Hits"}))
      << "no comparison for All, though both boxes are checked";
  EXPECT_EQ(Title(), "Top 4 Songs  ");
  EXPECT_COLUMN(4, "6", "5", "4", "2");
  Refresh(3, 4, 20);
  EXPECT_EQ(Rows(), 17);
  EXPECT_EQ(Title(), "Last 17 played ");
  Refresh(3, 4, 5);
  EXPECT_EQ(Rows(), 5);
  EXPECT_EQ(Title(), "Last 5 played ");
}

TEST_F(HitlistViewTest, SevenRowsOfAHundredRequested) {
  const char* titles[] = {"One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"};
  for (int i = 0; i < 9; ++i) {
    std::string file = std::string(titles[i]) + ".mp3";
    int32_t when = i < 2 ? now - 20 * kDay + i * kHour : now - 20 * kHour + i * kHour;
    Record(Track{file.c_str(), titles[i], "band", "album"}, when);
  }
  Start();
  Refresh(0, 0, 100);
  EXPECT_EQ(Rows(), 7);
  EXPECT_EQ(Title().rfind("Top 7 Songs ( ", 0), 0u) << Title();
}

TEST_F(HitlistViewTest, LayoutAndColumnWidths) {
  RecordTwoWeeks();
  Start();
  Command(ID_HITLIST);
  MoveWindow(Hit(), 0, 0, 300, 200, TRUE);
  RECT list = WindowRectOf(GetDlgItem(Hit(), IDC_LIST));
  RECT bar = WindowRectOf(GetDlgItem(Hit(), IDC_PERIODSCROLL));
  RECT progress = WindowRectOf(GetDlgItem(Hit(), IDC_PROGRESS));
  RECT window = WindowRectOf(Hit());
  EXPECT_EQ(list.top - window.top, 16);
  EXPECT_EQ(list.bottom - list.top, 168);
  EXPECT_EQ(bar.top - window.top, 185);
  EXPECT_EQ(progress.top - window.top, 185);
  EXPECT_EQ(bar.bottom - bar.top, 15);

  MoveWindow(Hit(), 0, 0, 400, 300, TRUE);
  Positions(false);
  Refresh(2, 1);
  EXPECT_EQ(Widths(), (std::vector<int>{20, 303, 60}));
  MoveWindow(Hit(), 0, 0, 800, 300, TRUE);
  EXPECT_EQ(Widths(), (std::vector<int>{40, 606, 121})) << "the columns follow the window";
}

TEST_F(HitlistViewTest, LastPlayedColumns) {
  Record(kA, now - 36 * kHour);
  Record(kB, now - 3 * kHour);
  Record(kB, now - 2 * kHour);
  Start();
  SetCheck(IDC_DAYS, true);
  Refresh(0, 1);
  EXPECT_EQ(Headings().back(), "Last Played");
  EXPECT_COLUMN(5, "0 days", "1 days");
  SetCheck(IDC_EXACTTIME, true);
  Refresh(0, 1);
  time_t when = now - 2 * kHour;
  char text[60] = {};
  std::strftime(text, sizeof text, "%d/%m/%y %H:%M:%S", std::localtime(&when));
  EXPECT_EQ(Cell(0, 5), text);
  Refresh(1, 1);
  EXPECT_EQ(Headings().back(), "Hits") << "only the songs list shows it";
}

TEST_F(HitlistViewTest, FocusedAndPlayingRowsAreDrawnInTheSkinColours) {
  RecordTwoWeeks();
  player->skinRow.assign(120, RGB(10, 20, 30));
  player->skinRow[58] = RGB(250, 200, 40);  // colour 5: the playing row's text
  player->skinRow[60] = RGB(30, 60, 160);   // colour 6: the focused row's background
  player->playlist = {{MusicFile("b.mp3"), 300}};
  player->state = 1;
  SettingsRecord rec = DefaultSettings();
  rec.highlight = 1;
  Start(rec);
  player->Tick(2);
  Refresh(0, 1);
  NMLVCUSTOMDRAW cd;
  EXPECT_EQ(Draw(CDDS_PREPAINT, 0, &cd), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(Draw(CDDS_ITEMPREPAINT, 1, &cd), CDRF_NEWFONT);
  EXPECT_EQ(cd.clrText, RGB(250, 200, 40)) << "Beta plays";
  EXPECT_EQ(Draw(CDDS_ITEMPREPAINT, 0, &cd), CDRF_NEWFONT);
  EXPECT_EQ(cd.clrText, RGB(1, 2, 3));
  EXPECT_EQ(cd.clrTextBk, RGB(4, 5, 6));

  FocusRow(2);
  EXPECT_EQ(Draw(CDDS_ITEMPREPAINT, 2, &cd), CDRF_NEWFONT);
  EXPECT_EQ(cd.clrTextBk, RGB(30, 60, 160));
  EXPECT_EQ(SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETITEMSTATE, 2, LVIS_SELECTED), 0)
      << "the system's selection colours do not paint over it";
  EXPECT_EQ(Draw(CDDS_ITEMPOSTPAINT, 2, &cd), CDRF_DODEFAULT);

  // The albums list marks the playing track's album.
  Refresh(1, 1);
  Draw(CDDS_ITEMPREPAINT, 0, &cd);
  EXPECT_EQ(cd.clrText, RGB(250, 200, 40));
}

TEST_F(HitlistViewTest, ThePlayingRowIsNotColouredWithoutTheSetting) {
  RecordTwoWeeks();
  player->playlist = {{MusicFile("a.mp3"), 300}};
  player->state = 1;
  Start();
  player->Tick(2);
  Refresh(0, 1);
  NMLVCUSTOMDRAW cd;
  Draw(CDDS_ITEMPREPAINT, 0, &cd);
  EXPECT_EQ(cd.clrText, RGB(1, 2, 3));
}

// "old" was played 30 weeks and 3 days ago, "new" two days ago.
class PeriodScrollTest : public HitlistViewTest {
 protected:
  void SetUp() override {
    HitlistViewTest::SetUp();
    Record(Track{"old.mp3", "old", "band", "album"}, now - 30 * kWeek - 3 * kDay);
    Record(Track{"new.mp3", "new", "band", "album"}, now - 2 * kDay);
    Start();
  }
  // The thumb dragged with the mouse to the right end of the bar and let go there. The
  // control's drag loop takes the move and the release from the queue.
  void DragThumbToTheRightEnd() {
    HWND bar = GetDlgItem(Hit(), IDC_PERIODSCROLL);
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
    RECT client;
    GetClientRect(bar, &client);
    int y = client.bottom / 2;
    PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.right - 1, y));
    PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 1, y));
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((info.xyThumbTop + info.xyThumbBottom) / 2, y));
    player->Pump();
  }
};

TEST_F(PeriodScrollTest, ThreePagesLeftRecomputeOnceAtTheRelease) {
  Refresh(0, 1);
  EXPECT_TRUE(Enabled(Hit(), IDC_PERIODSCROLL));
  EXPECT_EQ(ScrollPos(), 31);
  EXPECT_COLUMN(1, "new");
  gDisabled = 0;
  for (int i = 0; i < 3; ++i) Scroll(SB_PAGELEFT);
  EXPECT_EQ(ScrollPos(), 1);
  EXPECT_EQ(gDisabled, 0) << "no recomputation while the mouse is held";
  EXPECT_COLUMN(1, "new");
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(gDisabled, 1);
  EXPECT_COLUMN(1, "old");

  DragThumbToTheRightEnd();
  EXPECT_COLUMN(1, "new") << "the thumb back at the right end shows the refreshed week";
  Scroll(SB_LINERIGHT);
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(ScrollPos(), 31) << "kept within the range";
  Scroll(SB_LINELEFT);
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(Rows(), 0) << "the week before has no play";
  EXPECT_EQ(Title().rfind("Top 0 Songs ( ", 0), 0u) << Title();
}

// An hour's period over eleven years: 100,000 steps, more than a scroll message's 16 bits hold.
TEST_F(PeriodScrollTest, TheThumbIsReadInThirtyTwoBits) {
  Refresh(0, 1);
  HWND bar = GetDlgItem(Hit(), IDC_PERIODSCROLL);
  SendMessageA(bar, SBM_SETRANGE, 0, 100000);
  SendMessageA(bar, SBM_SETPOS, 0, TRUE);
  DragThumbToTheRightEnd();
  EXPECT_EQ(ScrollPos(), 100000);
}

TEST_F(PeriodScrollTest, PagesPastTheStartStopAtPositionZero) {
  Refresh(0, 2);
  EXPECT_EQ(ScrollPos(), 8);
  gDisabled = 0;
  for (int i = 0; i < 3; ++i) Scroll(SB_PAGELEFT);
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(ScrollPos(), 0);
  EXPECT_EQ(gDisabled, 1);
  EXPECT_EQ(Rows(), 0) << "position 0 lies before the first play";
}

TEST_F(PeriodScrollTest, AllAndReversedPeriodsCannotScroll) {
  Refresh(0, 4);
  EXPECT_FALSE(Enabled(Hit(), IDC_PERIODSCROLL));
  EXPECT_EQ(Rows(), 2);
  // "From" after "To": an empty list.
  SYSTEMTIME from = {2030, 1, 0, 1, 0, 0, 0, 0}, to = {2029, 1, 0, 1, 0, 0, 0, 0};
  SendDlgItemMessageA(Tool(), IDC_FROM, DTM_SETSYSTEMTIME, GDT_VALID,
                      reinterpret_cast<LPARAM>(&from));
  SendDlgItemMessageA(Tool(), IDC_TO, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&to));
  Refresh(0, 5);
  EXPECT_EQ(Rows(), 0);
  EXPECT_FALSE(Enabled(Hit(), IDC_PERIODSCROLL));
}

}  // namespace
}  // namespace spinox::e2e
