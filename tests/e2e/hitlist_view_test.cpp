// What the hit list window shows after "Refresh Hitlist": the columns and cells
// of each list, the title and the custom-drawn rows.
#include <ctime>
#include <iterator>

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
    {"artists without positions", 2, 1, 100, false, "Top 2 Artists ( ", "#|Artist|Hits", -1,
     "1|band one|7\n2|band two|3\n"},
    {"all time has no comparison", 0, 4, 100, true, "Top 4 Songs  ", "#|Title|Artist|Album|Hits",
     -1, "1|alpha|band one|first|6\n2|gamma|band two|second|5\n3|beta|band one|first|4\n"
     "4|delta|band two|third|2\n"},
    {"the log of all time", 3, 4, 20, false, "Last 17 played ", "#|Title|Artist|Album|Played", 0,
     "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17"},
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

// Songs in several scripts, each played a different number of times (the order of the list).
// The names reach the record files as UTF-8 and the list view in UTF-16: each shows exactly.
// clang-format off
const Track kScripts[] = {
    {"s0.mp3", "群青日和", "東京事変", "教育"},
    {"s1.mp3", "丸の内線", "椎名林檎", "無罪モラトリアム"},
    {"s2.mp3", "Largo", "Antonín Dvořák", "Symfonie č. 9"},
    {"s3.mp3", "Кино", "Группа крови", "Группа крови"},
    {"s4.mp3", "Ελλάδα", "Μίκης Θεοδωράκης", "Ζορμπάς"},
    {"s5.mp3", "봄날", "방탄소년단", "You Never Walk Alone"},
    {"s6.mp3", "月亮代表我的心", "邓丽君", "淡淡幽情"},
    {"s7.mp3", "أنا لحبيبي", "فيروز", "فيروزيات"},
    {"s8.mp3", "Dziewczyna", "Żółć Łąka", "Wiśnie"},
    {"s9.mp3", "🎵 Emoji", "😀 Band", "🌍"},
};
// clang-format on

TEST_F(HitlistViewTest, NamesInEveryScriptAreShownExactly) {
  constexpr int n = static_cast<int>(std::size(kScripts));
  int32_t t = now - 2 * kDay;
  for (int i = 0; i < n; ++i)
    for (int k = 0; k < n - i; ++k) Record(kScripts[i], t += 60);
  Start();
  // An ANSI window keeps its texts in the code page, whatever messages set them.
  for (HWND w : {Hit(), GetDlgItem(Hit(), IDC_LIST), GetDlgItem(Hit(), IDC_TITLE), Tool(),
                 GetDlgItem(Tool(), IDC_FILTERVALUE)})
    EXPECT_TRUE(IsWindowUnicode(w));
  SetCheck(IDC_LASTPOS, false);
  SetCheck(IDC_CHANGE, false);
  std::string songs, artists, albums;
  for (int i = 0; i < n; ++i) {
    const Track& s = kScripts[i];
    std::string rank = std::to_string(i + 1) + "|", hits = "|" + std::to_string(n - i) + "\n";
    songs += rank + s.title + "|" + s.artist + "|" + s.album + hits;
    artists += rank + s.artist + hits;
    albums += rank + s.album + "|" + s.artist + hits;
  }
  Refresh(0, 1);
  EXPECT_EQ(List(), songs);
  Refresh(1, 1);
  EXPECT_EQ(List(), albums);
  Refresh(2, 1);
  EXPECT_EQ(List(), artists);
}

}  // namespace
}  // namespace spinox::e2e
