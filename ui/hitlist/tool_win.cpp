// The options panel's controls, their enabling rules and the refresh of the list.
#include "ui/hitlist/tool_win.h"

#include <string>
#include <vector>

#include "base/clock.h"
#include "base/text.h"
#include "db/name_lists.h"
#include "hitlist/hitlist.h"
#include "hitlist/period.h"
#include "resources/resource.h"
#include "ui/hitlist/view_win.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"
#include "ui/toolkit/skin.h"
#include "ui/toolkit/skin_win.h"

namespace spinox {

namespace {

const char* const kTypes[] = {"Songs", "Albums", "Artists", "Log"};
const char* const kPeriods[] = {"Day", "Week", "Month", "Year", "All", "User Defined"};
constexpr char kNone[] = "None";
constexpr char kAlbum[] = "Album";
constexpr char kArtist[] = "Artist";
constexpr char kPlaylist[] = "Winamp Playlist";
// The longest entry of a list: two names joined by " - ".
constexpr int kEntrySize = kFilterSize;

// The filters each list type offers, in the order shown.
std::vector<const char*> FilterEntries(int32_t type) {
  switch (type) {
    case kListSongs:
      return {kNone, kAlbum, kArtist, kPlaylist};
    case kListAlbums:
      return {kNone, kArtist, kPlaylist};
    case kListArtists:
      return {kNone, kPlaylist};
    default:
      return {kNone, kAlbum, kArtist};
  }
}

void Fill(HWND dlg, int id, const std::vector<const char*>& entries) {
  CBO_Clear(dlg, id);
  for (const char* e : entries) CBO_InsertItem(dlg, id, e);
}

void FillNames(HWND dlg, int id, const std::vector<std::string>& names) {
  CBO_Clear(dlg, id);
  for (const std::string& n : names) CBO_InsertItem(dlg, id, n.c_str());
}

std::string CurrentEntry(HWND dlg, int id) {
  char text[kEntrySize] = {};
  if (CBO_GetCurString(dlg, id, text, sizeof text) < 0) return std::string();
  return text;
}

// "Show last position" and "Show change" mean nothing for "All" and for the log.
void EnablePositionChecks(HWND dlg, int32_t type, int32_t period) {
  int on = type != kListLog && period != kPeriodAll ? 1 : 0;
  Enable(dlg, IDC_LASTPOS, on);
  Enable(dlg, IDC_CHANGE, on);
}

void EnableLastPlayedChecks(HWND dlg, int32_t type) {
  int on = type == kListSongs ? 1 : 0;
  Enable(dlg, IDC_DAYS, on);
  Enable(dlg, IDC_EXACTTIME, on);
}

void EnablePickers(HWND dlg, int32_t period) {
  int on = period == kPeriodUser ? 1 : 0;
  Enable(dlg, IDC_FROM, on);
  Enable(dlg, IDC_TO, on);
}

void OnTypeChange(HWND dlg) {
  int32_t type = CBO_Current(dlg, IDC_TYPE);
  std::string kept = CurrentEntry(dlg, IDC_FILTERTYPE);
  Fill(dlg, IDC_FILTERTYPE, FilterEntries(type));
  EnableLastPlayedChecks(dlg, type);
  CBO_SetCurSel(dlg, IDC_FILTERTYPE, 0);
  if (kept.empty() || CBO_SelectString(dlg, IDC_FILTERTYPE, kept.c_str()) < 0)
    Enable(dlg, IDC_FILTERVALUE, 0);
  EnablePositionChecks(dlg, type, CBO_Current(dlg, IDC_PERIOD));
}

void OnPeriodChange(HWND dlg) {
  int32_t period = CBO_Current(dlg, IDC_PERIOD);
  EnablePickers(dlg, period);
  EnablePositionChecks(dlg, CBO_Current(dlg, IDC_TYPE), period);
}

void OnFilterChange(HWND dlg) {
  std::string entry = CurrentEntry(dlg, IDC_FILTERTYPE);
  bool value = CBO_Current(dlg, IDC_FILTERTYPE) > 0 && entry != kPlaylist;
  Enable(dlg, IDC_FILTERVALUE, value ? 1 : 0);
  if (entry == kArtist) FillNames(dlg, IDC_FILTERVALUE, FillCBOWithArtists());
  if (entry == kAlbum) FillNames(dlg, IDC_FILTERVALUE, FillCBOWithAlbums(kNoId));
  if (value) CBO_SetCurSel(dlg, IDC_FILTERVALUE, 0);
}

void OnRefresh(HWND dlg) {
  GetToolValues();
  // A user-defined period counts whole local days: from the first second of the "From" day
  // up to the first second after the "To" day.
  ShownList& list = Shell().list;
  SetPeriodBounds(list, ClockNow(), PickerDayStart(GetSelFields(dlg, IDC_FROM)),
                  PickerDayAfter(GetSelFields(dlg, IDC_TO)));
  RefreshHitList();
  SetPeriodScrollBar();
  if (list.settings._start > list.settings._end) Enable(Shell()._hwndHit, IDC_PERIODSCROLL, 0);
}

// The list's actions are carried out by the hit list window.
WPARAM ForwardedCommand(int control) {
  switch (control) {
    case IDC_ENQUEUEHITLIST:
      return ID_ENQUEUE;
    case IDC_PLAYHITLIST:
      return ID_PLAY;
    case IDC_SAVEPLAYLIST:
      return ID_SAVEPLAYLIST;
    case IDC_GENERATEHTML:
      return ID_GENERATEHTML;
  }
  return 0;
}

void OnButton(HWND dlg, int control) {
  if (control == IDC_DAYS) CHK_UnCheck(dlg, IDC_EXACTTIME);
  if (control == IDC_EXACTTIME) CHK_UnCheck(dlg, IDC_DAYS);
  if (control == IDC_REFRESH) OnRefresh(dlg);
  if (WPARAM forwarded = ForwardedCommand(control)) {
    HWND hit = Shell()._hwndHit;
    if (hit) SendMessageW(hit, WM_COMMAND, forwarded, 0);
  }
  if (control == IDCANCEL) {
    ShowWindow(GetParent(dlg), SW_HIDE);
    ShowWindow(dlg, SW_HIDE);
  }
}

void OnCommand(HWND dlg, WPARAM wParam) {
  int control = LOWORD(wParam);
  int code = HIWORD(wParam);
  if (code == CBN_SELCHANGE) {
    if (control == IDC_TYPE) OnTypeChange(dlg);
    if (control == IDC_PERIOD) OnPeriodChange(dlg);
    if (control == IDC_FILTERTYPE) OnFilterChange(dlg);
    return;
  }
  if (code == BN_CLICKED) OnButton(dlg, control);
}

void OnSkinChange(HWND dlg, WPARAM wParam, LPARAM lParam) {
  ReadPlayerSkin(Shell());
  if (wParam || lParam) return;
  ShowWindow(dlg, SW_HIDE);
  ShowWindow(dlg, SW_SHOW);
}

// Reached only when the skin module leaves a button's colours alone. One brush is kept, so
// a repaint does not leak one per button.
INT_PTR ButtonColors(WPARAM wParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  const Skin& skin = Shell().skin;
  SetTextColor(dc, WADlg_getColor(skin, 3));
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<INT_PTR>(Shell().tool.gButtonBrush.For(WADlg_getColor(skin, 0)));
}

}  // namespace

void InitTool() {
  HWND dlg = Shell()._hwndTool;
  if (!dlg) return;
  Fill(dlg, IDC_TYPE, std::vector<const char*>(std::begin(kTypes), std::end(kTypes)));
  Fill(dlg, IDC_PERIOD, std::vector<const char*>(std::begin(kPeriods), std::end(kPeriods)));
  const HitListSettings& s = Shell().list.settings;
  Fill(dlg, IDC_FILTERTYPE, FilterEntries(s._type));
  CBO_SetCurSel(dlg, IDC_FILTERTYPE, 0);
  CBO_SetCurSel(dlg, IDC_TYPE, s._type);
  CBO_SetCurSel(dlg, IDC_PERIOD, s._period);
  s._check == 1 ? CHK_Check(dlg, IDC_DAYS) : CHK_UnCheck(dlg, IDC_DAYS);
  s._check == 2 ? CHK_Check(dlg, IDC_EXACTTIME) : CHK_UnCheck(dlg, IDC_EXACTTIME);
  s._pos ? CHK_Check(dlg, IDC_LASTPOS) : CHK_UnCheck(dlg, IDC_LASTPOS);
  s._change ? CHK_Check(dlg, IDC_CHANGE) : CHK_UnCheck(dlg, IDC_CHANGE);
  ED_SetInt(dlg, IDC_SHOWTOP, s._size);
  SetSelTime(dlg, IDC_FROM, s._start);
  SetSelTime(dlg, IDC_TO, ShownEnd(kPeriodUser, s._end));
  EnablePickers(dlg, s._period);
  EnablePositionChecks(dlg, s._type, s._period);
  EnableLastPlayedChecks(dlg, s._type);
  Enable(dlg, IDC_FILTERVALUE, 0);
}

void GetToolValues() {
  HWND dlg = Shell()._hwndTool;
  if (!dlg) return;
  ShownList& list = Shell().list;
  HitListSettings& s = list.settings;
  s._type = CBO_Current(dlg, IDC_TYPE);
  s._period = CBO_Current(dlg, IDC_PERIOD);
  s._pos = CHK_IsChecked(dlg, IDC_LASTPOS);
  s._change = CHK_IsChecked(dlg, IDC_CHANGE);
  s._check = CHK_IsChecked(dlg, IDC_DAYS) ? 1 : CHK_IsChecked(dlg, IDC_EXACTTIME) ? 2 : 0;
  s._size = ED_GetInt(dlg, IDC_SHOWTOP);
  list._filter = GetFilter();
  SetField(list._theFilter, CurrentEntry(dlg, IDC_FILTERVALUE));
}

int32_t GetFilter() {
  HWND dlg = Shell()._hwndTool;
  return dlg ? GetFilter(CurrentEntry(dlg, IDC_FILTERTYPE)) : kFilterNone;
}

INT_PTR CALLBACK DlgProcTool(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  if (INT_PTR brush = WADlg_handleDialogMsgs(Shell().skin, message, wParam)) return brush;
  switch (message) {
    case WM_INITDIALOG:
      ReadPlayerSkin(Shell());
      SetCaption(GetParent(dlg), "Spinox");
      return 0;
    case WM_DISPLAYCHANGE:
      OnSkinChange(dlg, wParam, lParam);
      return 0;
    case WM_CTLCOLORBTN:
      return ButtonColors(wParam);
    case WM_COMMAND:
      OnCommand(dlg, wParam);
      return 0;
    case WM_DESTROY:
      Shell().tool.gButtonBrush.Reset();
      return 0;
  }
  return 0;
}

}  // namespace spinox
