// What the hit list window shows: the refresh, the rows and the title, the columns and their
// widths, the layout of the controls and the custom drawing of the focused and playing rows.
#include <windows.h>
// The list view's records need windows.h first.
#include <commctrl.h>

#include <string>
#include <vector>

#include "hitlist/engine.h"
#include "hitlist/hitlist.h"
#include "hitlist/period.h"
#include "hitlist/view.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/hitlist/list_win.h"
#include "ui/hitlist/view_win.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"
#include "ui/toolkit/skin_win.h"

namespace spinox {

namespace {

constexpr int kLineHeight = 15;
// The progress bar's range is 16 bits wide.
constexpr int32_t kMaxProgress = 0xFFFF;

HWND HitWindow() {
  return Shell()._hwndHit;
}

// The playlist scan's progress, on the bar that lies over the period scroll bar.
class WindowProgress : public HitListProgress {
 public:
  void Begin(int32_t total) override {
    PB_SetRange(HitWindow(), IDC_PROGRESS, 0, total < kMaxProgress ? total : kMaxProgress, 1);
    Show(HitWindow(), IDC_PROGRESS, 1);
  }
  // The scan runs inside one message: the bar is painted as it goes.
  void Step() override {
    PB_Step(HitWindow(), IDC_PROGRESS);
    UpdateWindow(GetDlgItem(HitWindow(), IDC_PROGRESS));
  }
  void End() override { Show(HitWindow(), IDC_PROGRESS, 0); }
};

void Place(int id, int x, int y, int w, int h) {
  SetWindowPos(GetDlgItem(HitWindow(), id), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void EnableEmbedded(BOOL on) {
  const ShellState& shell = Shell();
  if (shell._hwndHit) EnableWindow(shell._hwndHit, on);
  if (shell._hwndTool) EnableWindow(shell._hwndTool, on);
}

void FillRows(const HitListRows& rows) {
  HWND list = GetDlgItem(HitWindow(), IDC_LIST);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (const std::vector<std::string>& cells : rows.cells) {
    if (cells.empty()) continue;
    int row = LV_InsertItem(HitWindow(), IDC_LIST, cells[0].c_str());
    for (size_t c = 1; c < cells.size(); ++c)
      LV_SetSubItem(HitWindow(), IDC_LIST, cells[c].c_str(), row, static_cast<int>(c));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// DisplayHitList's part on the window: the rows were made from the record file.
void ShowRows(const HitListRows& rows) {
  ShowWindow(GetParent(HitWindow()), SW_SHOW);
  ShowWindow(HitWindow(), SW_SHOW);
  LV_Clear(HitWindow(), IDC_LIST);
  if (!rows.ok) return;
  FillRows(rows);
  SetText(HitWindow(), IDC_TITLE, rows.title.c_str());
}

ShownList& List() {
  return Shell().list;
}

std::vector<int32_t> CurrentWidths() {
  return ColumnWidths(CurrentColumns(List().settings), GetWindowWidth(HitWindow(), IDC_LIST));
}

}  // namespace

void RefreshHitList() {
  if (!HitWindow()) return;
  PrepareColumns(List().settings._type);
  LV_Clear(HitWindow(), IDC_LIST);
  EnableEmbedded(FALSE);
  WindowProgress progress;
  HitListRows rows = RecomputeHitList(List(), &progress, TimeFormatsOf(Shell().settings));
  ShowRows(rows);
  CallHook(Shell().MarkPlayingRow);
  EnableEmbedded(TRUE);
}

void DisplayHitList(HitListItem* items, int32_t n, int32_t type) {
  if (!HitWindow()) return;
  ShowRows(DisplayRows(List(), items, n, type, TimeFormatsOf(Shell().settings)));
}

void PrepareColumns(int type) {
  List().settings._type = type;
  if (!HitWindow()) return;
  std::vector<HitListColumn> columns = CurrentColumns(List().settings);
  std::vector<int32_t> widths = CurrentWidths();
  for (int i = 0; i < kMaxColumns; ++i) LV_DeleteColumn(HitWindow(), IDC_LIST, 0);
  for (size_t i = 0; i < columns.size(); ++i) {
    LV_InsertColumn(HitWindow(), IDC_LIST, columns[i].title, static_cast<int>(i), widths[i],
                    columns[i].format);
  }
  Shell().hitList._clmns = static_cast<int32_t>(columns.size());
}

void ResizeColumns() {
  if (!HitWindow()) return;
  std::vector<int32_t> widths = CurrentWidths();
  HWND header =
      reinterpret_cast<HWND>(SendDlgItemMessageW(HitWindow(), IDC_LIST, LVM_GETHEADER, 0, 0));
  int existing = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int i = 0; i < existing && i < static_cast<int>(widths.size()); ++i)
    LV_SetColumnWidth(HitWindow(), IDC_LIST, i, widths[static_cast<size_t>(i)]);
}

void FixListSize(int w, int h) {
  if (!HitWindow()) return;
  Place(IDC_TITLE, 0, 0, w, kLineHeight);
  Place(IDC_LIST, 0, kLineHeight + 1, w, h - 2 * (kLineHeight + 1));
  Place(IDC_PERIODSCROLL, 0, h - kLineHeight, w, kLineHeight);
  Place(IDC_PROGRESS, 0, h - kLineHeight, w, kLineHeight);
  ResizeColumns();
}

LRESULT ProcessCustomDraw(NMLVCUSTOMDRAW* draw) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  int row = static_cast<int>(draw->nmcd.dwItemSpec);
  if (row == List().lvSelect) {
    draw->clrTextBk = WADlg_getColor(Shell().skin, 6);
    EnableHighlighting(row, 0);
  }
  if (row == List().lvPlaying && Shell().settings._highlight)
    draw->clrText = WADlg_getColor(Shell().skin, 5);
  return CDRF_NEWFONT;
}

void EnableHighlighting(int row, int on) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = on ? 0xFFFFFFFFu : 0u;
  SendDlgItemMessageW(HitWindow(), IDC_LIST, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&item));
}

void SetPeriodScrollBar() {
  if (!HitWindow()) return;
  ScrollBarState bar = UpdateScrollBar(List());
  if (bar.enabled || List().settings._period == kPeriodAll) {
    SC_SetRange(HitWindow(), IDC_PERIODSCROLL, 0, bar.range);
    SC_SetPos(HitWindow(), IDC_PERIODSCROLL, bar.pos);
  }
  Enable(HitWindow(), IDC_PERIODSCROLL, bar.enabled ? 1 : 0);
}

}  // namespace spinox
