#include "ui/settings/settings_win.h"

#include "ui/osd/display_text.h"

namespace spinox {

// OK keeps what the pages set, Cancel puts the display settings back as they were.
INT_PTR CALLBACK DlgProcSettings(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND || (wParam != IDOK && wParam != IDCANCEL)) return FALSE;
  if (wParam == IDCANCEL) BackupTextShowSettings(0);
  EndDialog(dlg, wParam);
  return TRUE;
}

}  // namespace spinox
