// The settings dialog's pages: the shell's settings into the controls and back.
#include "ui/settings/pages_win.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>

#include "base/clock.h"
#include "base/text.h"
#include "hitlist/hitlist.h"
#include "hitlist/time_text.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/osd/text_win.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

// The controls of each page, numbered on from the first page's first control.
constexpr int kFirstPageControl = IDC_SET_DISABLE;
constexpr int setting_controls[] = {9, 6, 21, 8};

constexpr int kSampleSize = 200;
// The multi-line box shows each line feed as two characters: room for the whole template.
constexpr int kMultiTextSize = 2 * kOsdTextSize;

const char kTagsHelp[] =
    "Tags :\n%title\n%album\n%artist\n%hits\n%hitsday\n%hitsweek\n%hitsmonth\n%hitsyear\n"
    "%hitsalbum\n%hitsartist\n%time\n%date\n%dayspast\n%hourspast\n%hitlistpos";
const char kFormatHelp[] =
    "Date/Time Tags :\n%a - abbreviated weekday name\n%A - full weekday name\n"
    "%b - abbreviated month name\n%B - full month name\n%d - day of the month\n"
    "%H - hour (24-hour clock)\n%I - hour (12-hour clock)\n%m - month number\n%M - minute\n"
    "%p - a.m. or p.m.\n%S - seconds\n%y - year (xx)\n%Y - year (xxxx)";

void SetCheck(HWND dlg, int id, int on) {
  if (on)
    CHK_Check(dlg, id);
  else
    CHK_UnCheck(dlg, id);
}

// A negative threshold is a percentage; the box shows its size.
void PutThreshold(HWND dlg, const Settings& s) {
  bool percent = s._addTime < 0;
  int32_t size = !percent ? s._addTime : s._addTime == INT32_MIN ? INT32_MAX : -s._addTime;
  SetCheck(dlg, IDC_SET_PERCENT, percent);
  SetCheck(dlg, IDC_SET_SECONDS, !percent);
  ED_SetInt(dlg, IDC_SET_ADDTIME, size);
}

int32_t TakeThreshold(HWND dlg) {
  int32_t size = ED_GetInt(dlg, IDC_SET_ADDTIME);
  if (!CHK_IsChecked(dlg, IDC_SET_PERCENT)) return size;
  return size == INT32_MIN ? INT32_MAX : -size;
}

// Selects the face itself, not the first one that merely begins with its name.
void SelectFont(HWND dlg, const Settings& s) {
  if (CBO_SelectString(dlg, IDC_SET_FONT, s._txt_font) < 0) return;
  char chosen[kOsdFontSize] = {};
  CBO_GetCurString(dlg, IDC_SET_FONT, chosen, sizeof chosen);
  if (_stricmp(chosen, s._txt_font) != 0) CBO_SetCurSel(dlg, IDC_SET_FONT, -1);
}

void PutDisplayPage(HWND dlg, const Settings& s) {
  SetCheck(dlg, IDC_SET_OSD, s._txt);
  SetCheck(dlg, IDC_SET_BOLD, s._txt_bold);
  ED_SetInt(dlg, IDC_SET_DURATION, s._txt_timeEnd);
  ED_SetInt(dlg, IDC_SET_SIZE, s._txt_size);
  ED_SetInt(dlg, IDC_SET_X, s._txt_x);
  ED_SetInt(dlg, IDC_SET_Y, s._txt_y);
  ED_SetMultiText(dlg, IDC_SET_TEXT, s._txt_text, kMultiTextSize);
  FillComboWithFonts(dlg, IDC_SET_FONT);
  SelectFont(dlg, s);
  SetText(dlg, IDC_SET_TAGSHELP, kTagsHelp);
}

void PutDateTimePage(HWND dlg, const Settings& s) {
  SetText(dlg, IDC_SET_FORMATHELP, kFormatHelp);
  SetText(dlg, IDC_SET_DATEFORMAT, s._date);
  SetText(dlg, IDC_SET_TIMEFORMAT, s._time);
  int32_t now = ClockNow();
  SetDT(dlg, IDC_SET_DATESAMPLE, now, s._date);
  SetDT(dlg, IDC_SET_TIMESAMPLE, now, s._time);
}

// The number boxes' rule, also for a box that still has the focus when OK is pressed.
int32_t TakeNumber(HWND dlg, int id) {
  NumberBoxLeft(dlg, id);
  return ED_GetInt(dlg, id);
}

void RedrawPlayingRow() {
  HWND hit = Shell()._hwndHit;
  int32_t row = Shell().list.lvPlaying;
  if (hit && row >= 0) LV_RedrawItem(hit, IDC_LIST, row);
}

}  // namespace

void PrepareSettingsControls(HWND dlg, const Settings& s) {
  SetCheck(dlg, IDC_SET_DISABLE, !s._enabled);
  SetCheck(dlg, IDC_SET_HIGHLIGHT, s._highlight);
  PutThreshold(dlg, s);
  SetCheck(dlg, IDC_SET_SKIP, s._skip);
  SetCheck(dlg, IDC_SET_BACKUP, s._backup);
  ED_SetInt(dlg, IDC_SET_BACKUPDAYS, s._backupTime);
  PutDisplayPage(dlg, s);
  PutDateTimePage(dlg, s);
}

void SaveDisplayPage(HWND dlg, Settings* settings) {
  Settings& s = *settings;
  s._txt_bold = CHK_IsChecked(dlg, IDC_SET_BOLD);
  s._txt_timeEnd = TakeNumber(dlg, IDC_SET_DURATION);
  s._txt_size = TakeNumber(dlg, IDC_SET_SIZE);
  s._txt_x = ED_GetInt(dlg, IDC_SET_X);
  s._txt_y = ED_GetInt(dlg, IDC_SET_Y);
  // Without a selection the face stays as it was (a face not installed here is kept).
  CBO_GetCurString(dlg, IDC_SET_FONT, s._txt_font, sizeof s._txt_font);
  char text[kMultiTextSize] = {};
  ED_GetMultiText(dlg, IDC_SET_TEXT, text, sizeof text);
  CopyText(s._txt_text, sizeof s._txt_text, text);
}

void SaveSettings(HWND dlg, Settings* settings) {
  Settings& s = *settings;
  CallHook(Shell().EnablePlug, CHK_IsChecked(dlg, IDC_SET_DISABLE) ? 0 : 1);
  s._skip = CHK_IsChecked(dlg, IDC_SET_SKIP);
  s._highlight = CHK_IsChecked(dlg, IDC_SET_HIGHLIGHT);
  s._addTime = TakeThreshold(dlg);
  s._backup = CHK_IsChecked(dlg, IDC_SET_BACKUP);
  s._backupTime = TakeNumber(dlg, IDC_SET_BACKUPDAYS);
  s._txt = CHK_IsChecked(dlg, IDC_SET_OSD);
  SaveDisplayPage(dlg, settings);
  GetText(dlg, IDC_SET_DATEFORMAT, s._date, sizeof s._date);
  GetText(dlg, IDC_SET_TIMEFORMAT, s._time, sizeof s._time);
  RedrawPlayingRow();
}

void SettingsSideChanged(HWND dlg, int page) {
  int id = kFirstPageControl;
  for (int p = 0; p < static_cast<int>(sizeof setting_controls / sizeof *setting_controls); ++p) {
    for (int i = 0; i < setting_controls[p]; ++i) Show(dlg, id++, p == page);
  }
}

void NumberBoxLeft(HWND dlg, int id) {
  if (ED_GetInt(dlg, id) == 0) ED_SetInt(dlg, id, 1);
}

void SetDT(HWND dlg, int id, int32_t time, const char* format) {
  SetText(dlg, id, FormatLocalTime(time, format, kSampleSize).c_str());
}

}  // namespace spinox
