// What the hit list window shows after "Refresh Hitlist": the columns and cells
// of each list, the title, the custom-drawn rows, the period stepped with the
// scroll bar, and a user-defined period counted in whole local days.
#include <ctime>

#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

std::string LocalText(int32_t t, const char* format) {
  time_t when = t;
  char text[60] = {};
  std::strftime(text, sizeof text, format, std::localtime(&when));
  return text;
}

struct ListCase {
  const char* name;
  int type, period, top;
  bool positions;  // "Last position" and "Change" checked
  const char* title;
  const char* headings;
  int column;  // -1: every column
  const char* cells;
};

// Last week: gamma 4, alpha 2, beta 1. This week: alpha 4, beta 3, delta 2,
// gamma 1.
// clang-format off
const ListCase kLists[] = {
    {"songs with positions", 0, 1, 100, true, "Top 4 Songs ( ",
     "#|Prev|Chng|Title|Artist|Album|Hits", -1,
     "1|2|+1|alpha|band one|first|4\n2|3|+1|beta|band one|first|3\n"
     "3|-|*|delta|band two|third|2\n4|1|-3|gamma|band two|second|1\n"},
    {"albums with positions", 1, 1, 100, true, "Top 3 Albums ( ", "#|Prev|Chng|Album|Artist|Hits",
     -1, "1|2|+1|first|band one|7\n2|-|*|third|band two|2\n3|1|-2|second|band two|1\n"},
    {"artists with positions", 2, 1, 100, true, "Top 2 Artists ( ", "#|Prev|Chng|Artist|Hits", -1,
     "1|2|+1|band one|7\n2|1|-1|band two|3\n"},
    {"the log never compares", 3, 1, 100, true, "Log ( ", "#|Title|Artist|Album|Played", 1,
     "alpha|gamma|beta|delta|alpha|beta|delta|alpha|beta|alpha"},
    {"songs without positions", 0, 1, 100, false, "Top 4 Songs ( ", "#|Title|Artist|Album|Hits", 4,
     "4|3|2|1"},
    {"albums without positions", 1, 1, 100, false, "Top 3 Albums ( ", "#|Album|Artist|Hits", 1,
     "first|third|second"},
    {"artists without positions", 2, 1, 100, false, "Top 2 Artists ( ", "#|Artist|Hits", -1,
     "1|band one|7\n2|band two|3\n"},
    {"all time has no comparison", 0, 4, 100, true, "Top 4 Songs  ", "#|Title|Artist|Album|Hits",
     -1, "1|alpha|band one|first|6\n2|gamma|band two|second|5\n3|beta|band one|first|4\n"
     "4|delta|band two|third|2\n"},
    {"the log of all time", 3, 4, 20, false, "Last 17 played ", "#|Title|Artist|Album|Played", 0,
     "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17"},
    {"the log cut to its length", 3, 4, 5, false, "Last 5 played ", "#|Title|Artist|Album|Played",
     1, "alpha|gamma|beta|delta|alpha"},
    {"the day's songs", 0, 0, 100, false, "Top 0 Songs ( ", "#|Title|Artist|Album|Hits", 0, ""},
};
// clang-format on

class HitlistViewTest : public PluginTest {
 protected:
  void RecordTwoWeeks() {
    int32_t t = now - 10 * kDay;
    for (const Track* p : {&kC, &kC, &kC, &kC, &kA, &kA, &kB}) Record(*p, t += kHour);
    t = now - 3 * kDay;
    for (const Track* p : {&kA, &kB, &kA, &kD, &kB, &kA, &kD, &kB, &kC, &kA})
      Record(*p, t += kHour);
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

TEST_F(HitlistViewTest, EveryListTypeAndPeriod) {
  RecordTwoWeeks();
  Start();
  for (const ListCase& c : kLists) {
    SCOPED_TRACE(c.name);
    SetCheck(IDC_LASTPOS, c.positions);
    SetCheck(IDC_CHANGE, c.positions);
    Refresh(c.type, c.period, c.top);
    EXPECT_EQ(Join(Headings()), c.headings);
    EXPECT_EQ(List(c.column), c.cells);
    EXPECT_EQ(Title().rfind(c.title, 0), 0u) << Title();
  }
  int32_t at = static_cast<int32_t>(std::time(nullptr));
  Refresh(0, 1);
  EXPECT_EQ(Title(), "Top 4 Songs ( " + LocalText(at - kWeek, "%d/%m/%y") + " - " +
                         LocalText(at, "%d/%m/%y") + " ) ");
}

TEST_F(HitlistViewTest, LastPlayedColumns) {
  Record(kA, now - 36 * kHour);
  Record(kB, now - 3 * kHour);
  Record(kB, now - 2 * kHour);
  Start();
  SetCheck(IDC_DAYS, true);
  Refresh(0, 1);
  EXPECT_EQ(Headings().back(), "Last Played");
  EXPECT_EQ(List(5), "0 days|1 days");
  SetCheck(IDC_EXACTTIME, true);
  Refresh(0, 1);
  EXPECT_EQ(Cell(0, 5), LocalText(now - 2 * kHour, "%d/%m/%y %H:%M:%S"));
  Refresh(1, 1);
  EXPECT_EQ(Headings().back(), "Hits") << "only the songs list shows it";
}

// With the setting, the playing track's row (and its album's) is drawn in skin
// colour 5; the focused row gets colour 6 as its background instead of the
// system's selection.
TEST_F(HitlistViewTest, FocusedAndPlayingRowsAreDrawnInTheSkinColours) {
  for (int highlight : {1, 0}) {
    SCOPED_TRACE(highlight);
    player.reset();
    SetUp();
    RecordTwoWeeks();
    player->skinRow.assign(120, RGB(10, 20, 30));
    player->skinRow[SkinX(5)] = RGB(250, 200, 40);
    player->skinRow[SkinX(6)] = RGB(30, 60, 160);
    player->playlist = {{MusicFile("b.mp3"), 300}};
    player->state = 1;
    Start(SettingsFile().Set("_highlight", highlight));
    player->Tick(2);
    Refresh(0, 1);
    NMLVCUSTOMDRAW cd;
    EXPECT_EQ(Draw(CDDS_PREPAINT, 0, &cd), CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(Draw(CDDS_ITEMPREPAINT, 1, &cd), CDRF_NEWFONT);
    EXPECT_EQ(cd.clrText, highlight ? RGB(250, 200, 40) : RGB(1, 2, 3)) << "beta plays";
    Draw(CDDS_ITEMPREPAINT, 0, &cd);
    EXPECT_EQ(cd.clrText, RGB(1, 2, 3));
    EXPECT_EQ(cd.clrTextBk, RGB(4, 5, 6));
    FocusRow(2);
    EXPECT_EQ(Draw(CDDS_ITEMPREPAINT, 2, &cd), CDRF_NEWFONT);
    EXPECT_EQ(cd.clrTextBk, RGB(30, 60, 160));
    EXPECT_EQ(SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETITEMSTATE, 2, LVIS_SELECTED), 0)
        << "the system's selection colours do not paint over it";
    EXPECT_EQ(Draw(CDDS_ITEMPOSTPAINT, 2, &cd), CDRF_DODEFAULT);
    Refresh(1, 1);
    Draw(CDDS_ITEMPREPAINT, 0, &cd);
    EXPECT_EQ(cd.clrText, highlight ? RGB(250, 200, 40) : RGB(1, 2, 3)) << "beta's album";
  }
}

// "old" was played 30 weeks and 3 days ago, "new" two days ago.
class PeriodScrollTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Record(Track{"old.mp3", "old", "band", "album"}, now - 30 * kWeek - 3 * kDay);
    Record(Track{"new.mp3", "new", "band", "album"}, now - 2 * kDay);
    Start();
  }
  // The thumb dragged with the mouse to the right end of the bar and let go
  // there. The control's drag loop takes the move and the release from the
  // queue.
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

TEST_F(PeriodScrollTest, PagesRecomputeOnceAtTheReleaseWithinTheRange) {
  Refresh(0, 1);
  EXPECT_TRUE(IsOn(Hit(), IDC_PERIODSCROLL));
  EXPECT_EQ(ScrollPos(), 31);
  gWatched.recomputed = 0;
  for (int i = 0; i < 3; ++i) Scroll(SB_PAGELEFT);
  EXPECT_EQ(ScrollPos(), 1);
  EXPECT_EQ(gWatched.recomputed, 0) << "no recomputation while the mouse is held";
  EXPECT_EQ(List(1), "new");
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(gWatched.recomputed, 1);
  EXPECT_EQ(List(1), "old");

  DragThumbToTheRightEnd();
  EXPECT_EQ(List(1), "new") << "the thumb back at the right end shows the refreshed week";
  Scroll(SB_LINERIGHT);
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(ScrollPos(), 31) << "kept within the range";
  Scroll(SB_LINELEFT);
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(Rows(), 0) << "the week before has no play";

  Refresh(0, 2);
  EXPECT_EQ(ScrollPos(), 8);
  for (int i = 0; i < 3; ++i) Scroll(SB_PAGELEFT);
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(ScrollPos(), 0) << "pages past the start stop at position 0";
  EXPECT_EQ(Rows(), 0) << "which lies before the first play";

  // An hour's period over eleven years: more steps than a scroll message's 16
  // bits hold.
  HWND bar = GetDlgItem(Hit(), IDC_PERIODSCROLL);
  SendMessageA(bar, SBM_SETRANGE, 0, 100000);
  SendMessageA(bar, SBM_SETPOS, 0, TRUE);
  DragThumbToTheRightEnd();
  EXPECT_EQ(ScrollPos(), 100000);
}

TEST_F(PeriodScrollTest, AllAndReversedPeriodsCannotScroll) {
  Refresh(0, 4);
  EXPECT_FALSE(IsOn(Hit(), IDC_PERIODSCROLL));
  EXPECT_EQ(Rows(), 2);
  SYSTEMTIME from = {2030, 1, 0, 1, 0, 0, 0, 0}, to = {2029, 1, 0, 1, 0, 0, 0, 0};
  SendDlgItemMessageA(Tool(), IDC_FROM, DTM_SETSYSTEMTIME, GDT_VALID,
                      reinterpret_cast<LPARAM>(&from));
  SendDlgItemMessageA(Tool(), IDC_TO, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&to));
  Refresh(0, 5);
  EXPECT_EQ(Rows(), 0) << "\"From\" after \"To\": an empty list";
  EXPECT_FALSE(IsOn(Hit(), IDC_PERIODSCROLL));
}

// Berlin, summer (scripts/wine_tests.sh sets the zone): 15 July 2024 00:00:00
// local is 14 July 22:00 UTC.
constexpr int32_t kJuly15 = 1720994400;

class UserPeriodTest : public PluginTest {
 protected:
  // A day picked, with a time of day the picker keeps but does not show.
  void Pick(int id, WORD day, WORD hour) {
    SYSTEMTIME st = {2024, 7, 0, day, hour, 30, 15, 0};
    SendDlgItemMessageA(Tool(), id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  }
  std::string Shown(int id) {
    SYSTEMTIME st = {};
    SendDlgItemMessageA(Tool(), id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return std::to_string(st.wYear) + "-" + std::to_string(st.wMonth) + "-" +
           std::to_string(st.wDay);
  }
};

TEST_F(UserPeriodTest, TheDaysPickedAreCountedWholeAndStayPut) {
  TIME_ZONE_INFORMATION zone;
  GetTimeZoneInformation(&zone);
  ASSERT_EQ(zone.Bias, -60) << "run the suite with TZ=Europe/Berlin (scripts/wine_tests.sh)";
  // One second either side of each bound.
  Record(kA, kJuly15 - 1);
  Record(kB, kJuly15);
  Record(kC, kJuly15 + 2 * kDay - 1);
  Record(kA, kJuly15 + 2 * kDay);
  Start();
  Choose(Tool(), IDC_PERIOD, 5);
  Pick(IDC_FROM, 15, 18);
  Pick(IDC_TO, 16, 6);
  Refresh(0, 5);
  EXPECT_EQ(List(1, true), "beta|gamma");
  EXPECT_NE(Title().find("( 15/07/24 - 16/07/24 )"), std::string::npos) << Title();

  // Sessions one after the other: the period saved is the one shown and counted
  // again.
  for (int session = 0; session < 3; ++session) {
    SCOPED_TRACE(session);
    EXPECT_EQ(Shown(IDC_FROM), "2024-7-15");
    EXPECT_EQ(Shown(IDC_TO), "2024-7-16");
    player->Quit();
    SettingsFile saved = Saved();
    EXPECT_EQ(saved.Int("_period"), 5);
    EXPECT_EQ(saved.Int("_start"), kJuly15);
    EXPECT_EQ(saved.Int("_end"), kJuly15 + 2 * kDay);
    Restart();
    Click(Tool(), IDC_REFRESH);
    EXPECT_EQ(Rows(), 2);
  }

  // One day is a day from either end of it.
  Pick(IDC_FROM, 15, 23);
  Pick(IDC_TO, 15, 0);
  Click(Tool(), IDC_REFRESH);
  EXPECT_EQ(List(1), "beta");
}

}  // namespace
}  // namespace spinox::e2e
