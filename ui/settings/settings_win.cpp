#include "ui/settings/settings_win.h"

#include <string>

#include "base/clock.h"
#include "db/backup.h"
#include "db/changes.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/html/colors_win.h"
#include "ui/osd/display_text.h"
#include "ui/osd/text_win.h"
#include "ui/settings/pages_win.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

const char* const kPages[] = {"General", "Backup", "OSD", "Date/Time"};
const int kNumberBoxes[] = {IDC_SET_ADDTIME, IDC_SET_BACKUPDAYS, IDC_SET_DURATION, IDC_SET_SIZE};

void OnInit(HWND dlg, LPARAM before) {
  SetWindowLongPtrW(dlg, DWLP_USER, static_cast<LONG_PTR>(before));
  for (const char* page : kPages) LST_InsertItem(dlg, IDC_SET_PAGES, page);
  LST_SetCurSel(dlg, IDC_SET_PAGES, 0);
  PrepareSettingsControls(dlg, Shell().settings);
  SettingsSideChanged(dlg, 0);
}

// A failed backup is said so, rather than reported as done.
void BackupNow(HWND dlg) {
  if (BackupDatabase().empty()) {
    ShowMessage(dlg, "Could not write the backup file", "Backup Database", MB_OK | MB_ICONERROR);
    return;
  }
  ShowMessage(dlg, "Database Backed up Succesfully", "Backup Database", MB_OK);
}

// The sample under a format box follows every keystroke.
void FormatChanged(HWND dlg, int box, int sample) {
  char format[kDateFormatSize] = {};
  GetText(dlg, box, format, sizeof format);
  SetDT(dlg, sample, ClockNow(), format);
}

void Test(HWND dlg) {
  SaveDisplayPage(dlg, &Shell().settings);
  CallHook(Shell().ShowDisplay);
}

void Close(HWND dlg, int result) {
  const auto* before = reinterpret_cast<const Settings*>(GetWindowLongPtrW(dlg, DWLP_USER));
  if (result == IDOK)
    SaveSettings(dlg, &Shell().settings);
  else if (before)
    RestoreDisplaySettings(*before, &Shell().settings);
  EndDialog(dlg, result);
}

bool OnButton(HWND dlg, int id) {
  switch (id) {
    case IDC_SET_BACKUPNOW:
      BackupNow(dlg);
      return true;
    case IDC_SET_RESTORE:
      RestoreDatabase();
      return true;
    case IDC_SET_CLEAR:
      ClearDatabase();
      return true;
    case IDC_SET_COLOR:
      PickColor(dlg, Shell().settings._txt_bg, 0, IDC_SET_COLORSWATCH);
      return true;
    case IDC_SET_TEST:
      Test(dlg);
      return true;
    case IDOK:
    case IDCANCEL:
      Close(dlg, id);
      return true;
  }
  return false;
}

bool IsNumberBox(int id) {
  for (int box : kNumberBoxes)
    if (box == id) return true;
  return false;
}

INT_PTR OnCommand(HWND dlg, WPARAM wParam) {
  int id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == IDC_SET_PAGES && code == LBN_SELCHANGE) {
    SettingsSideChanged(dlg, LST_Current(dlg, IDC_SET_PAGES));
    return TRUE;
  }
  if (code == EN_KILLFOCUS && IsNumberBox(id)) {
    NumberBoxLeft(dlg, id);
    return TRUE;
  }
  if (code == EN_CHANGE && id == IDC_SET_DATEFORMAT) FormatChanged(dlg, id, IDC_SET_DATESAMPLE);
  if (code == EN_CHANGE && id == IDC_SET_TIMEFORMAT) FormatChanged(dlg, id, IDC_SET_TIMESAMPLE);
  return code == BN_CLICKED && OnButton(dlg, id);
}

// The swatch is a read-only box painted in the display colour.
INT_PTR OnControlColor(HWND dlg, WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dlg, IDC_SET_COLORSWATCH)) return FALSE;
  return PaintSwatch(reinterpret_cast<HDC>(wParam), Shell().settings._txt_bg,
                     &Shell().settingsDialog.gSwatchBrush);
}

}  // namespace

INT_PTR CALLBACK DlgProcSettings(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dlg, lParam);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(dlg, wParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnControlColor(dlg, wParam, lParam);
    case WM_DESTROY:
      Shell().settingsDialog.gSwatchBrush.Reset();
      return FALSE;
  }
  return FALSE;
}

}  // namespace spinox
