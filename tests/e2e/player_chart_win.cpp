#include "tests/e2e/player_chart_win.h"

#include <windows.h>
// System headers below need windows.h first.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/codepage.h"
#include "db/paths.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace spinox::e2e {

namespace {

// Below the corner where Wine keeps its tray window, which the screenshot leaves out.
constexpr POINT kPlayerPlace = {16, 52};
constexpr WindowRect kHitPlace = {16, 152, 736, 622};
constexpr WindowRect kToolPlace = {752, 152, 1132, 408};
constexpr RECT kScreenArea = {0, 48, 1148, 638};
constexpr DWORD kHoldLimit = 60000;  // ms

const char* const kTypes[] = {"songs", "albums", "artists", "log"};
const char* const kPeriods[] = {"day", "week", "month", "year", "all", "user"};

template <size_t N>
int IndexOf(const char* const (&names)[N], const std::string& name) {
  for (size_t i = 0; i < N; ++i)
    if (name == names[i]) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    parts.push_back(text.substr(start, comma - start));
  parts.push_back(text.substr(start));
  return parts;
}

bool ParseDay(const std::string& text, PickedDay* day) {
  return std::sscanf(text.c_str(), "%4d-%2d-%2d", &day->year, &day->month, &day->day) == 3 &&
         day->year > 1900 && day->month >= 1 && day->month <= 12 && day->day >= 1 && day->day <= 31;
}

bool ParseOption(const std::string& part, ChartRequest* request) {
  if (part.rfind("from=", 0) == 0) return ParseDay(part.substr(5), &request->from);
  if (part.rfind("to=", 0) == 0) return ParseDay(part.substr(3), &request->to);
  if (part == "prev") return request->prev = true;
  if (part == "change") return request->change = true;
  if (part == "days") return (request->lastPlayed = 1) != 0;
  if (part == "time") return (request->lastPlayed = 2) != 0;
  if (part.rfind("back=", 0) == 0) return (request->back = std::atoi(part.c_str() + 5)) > 0;
  request->top = std::atoi(part.c_str());
  return request->top > 0;
}

void Choose(HWND dlg, int id, int index) {
  SendDlgItemMessageA(dlg, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

void SetCheck(HWND dlg, int id, bool on) {
  bool checked = SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (checked != on) SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

// A day picked as a user picks it: the time of day the picker holds stays, unseen.
void Pick(HWND tool, int id, const PickedDay& day) {
  if (day.year == 0) return;
  SYSTEMTIME st = {};
  SendDlgItemMessageA(tool, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  st.wYear = static_cast<WORD>(day.year);
  st.wMonth = static_cast<WORD>(day.month);
  st.wDay = static_cast<WORD>(day.day);
  SendDlgItemMessageA(tool, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void SetPanel(HWND tool, const ChartRequest& c) {
  Choose(tool, IDC_TYPE, c.type);
  Choose(tool, IDC_PERIOD, c.period);
  SetCheck(tool, IDC_LASTPOS, c.prev);
  SetCheck(tool, IDC_CHANGE, c.change);
  SetCheck(tool, IDC_DAYS, c.lastPlayed == 1);
  SetCheck(tool, IDC_EXACTTIME, c.lastPlayed == 2);
  SetDlgItemTextA(tool, IDC_SHOWTOP, std::to_string(c.top).c_str());
  Pick(tool, IDC_FROM, c.from);
  Pick(tool, IDC_TO, c.to);
}

void StepBack(HWND hit, int periods) {
  LPARAM bar = reinterpret_cast<LPARAM>(GetDlgItem(hit, IDC_PERIODSCROLL));
  for (int i = 0; i < periods; ++i) SendMessageA(hit, WM_HSCROLL, SB_LINELEFT, bar);
  SendMessageA(hit, WM_HSCROLL, SB_ENDSCROLL, bar);
}

// A cell as UTF-8, read with the wide message: the list holds names in any script.
std::string Text(HWND hit, int row, int column) {
  wchar_t text[300] = {};
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 300;
  LRESULT n = SendDlgItemMessageW(hit, IDC_LIST, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                  reinterpret_cast<LPARAM>(&item));
  return Utf8FromWide(text, static_cast<size_t>(n));
}

void PrintList(HWND hit) {
  wchar_t title[300] = {};
  int n = GetDlgItemTextW(hit, IDC_TITLE, title, 300);
  std::printf("\n%s\n", Utf8FromWide(title, static_cast<size_t>(n)).c_str());
  auto header = reinterpret_cast<HWND>(SendDlgItemMessageA(hit, IDC_LIST, LVM_GETHEADER, 0, 0));
  int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  int rows = static_cast<int>(SendDlgItemMessageA(hit, IDC_LIST, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < rows; ++r) {
    std::string line;
    for (int c = 0; c < columns; ++c) line += (c ? " | " : "") + Text(hit, r, c);
    std::printf("  %s\n", line.c_str());
  }
  std::fflush(stdout);
}

}  // namespace

bool ParseChart(const std::string& text, ChartRequest* request) {
  std::vector<std::string> parts = Split(text);
  *request = ChartRequest();
  if (parts.size() < 2) return false;
  request->type = IndexOf(kTypes, parts[0]);
  request->period = IndexOf(kPeriods, parts[1]);
  if (request->type < 0 || request->period < 0) return false;
  for (size_t i = 2; i < parts.size(); ++i)
    if (!ParseOption(parts[i], request)) return false;
  return true;
}

void PrepareChartSettings(const std::string& plugins) {
  SetDataDir(plugins);
  std::string path = FullPath(kSettingsFile);
  Settings rec;
  if (!ReadSettingsFile(path, &rec)) rec = DefaultSettings();
  rec._rectHit = kHitPlace;
  rec._rectTool = kToolPlace;
  rec._highlight = 1;
  WriteSettingsFile(path, rec);
}

void ShowCharts(TestPlayer* player, const std::vector<ChartRequest>& charts) {
  HWND tool = player->Embedded(0), hit = player->Embedded(1);
  if (!tool || !hit) return;
  SetWindowPos(player->window(), nullptr, kPlayerPlace.x, kPlayerPlace.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  SendMessageA(player->window(), WM_COMMAND, ID_HITLIST, 0);
  for (const ChartRequest& c : charts) {
    SetPanel(tool, c);
    SendMessageA(GetDlgItem(tool, IDC_REFRESH), BM_CLICK, 0, 0);
    if (c.back > 0) StepBack(hit, c.back);
    player->Pump(50);
    PrintList(hit);
  }
}

void HoldForScreenshot(TestPlayer* player, const std::string& marker) {
  FILE* f = _wfopen(WideFromUtf8(marker).c_str(), L"w");
  if (!f) return;
  std::fprintf(f, "hitlist %ld %ld %ld %ld\n", kScreenArea.left, kScreenArea.top, kScreenArea.right,
               kScreenArea.bottom);
  std::fclose(f);
  DWORD start = GetTickCount();
  while (GetFileAttributesW(WideFromUtf8(marker).c_str()) != INVALID_FILE_ATTRIBUTES &&
         GetTickCount() - start < kHoldLimit)
    player->Pump(100);
}

}  // namespace spinox::e2e
