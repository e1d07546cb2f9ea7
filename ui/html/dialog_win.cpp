#include "ui/html/dialog_win.h"

namespace spinox {

INT_PTR CALLBACK DlgProcHTM(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND || wParam != IDCANCEL) return FALSE;
  ShowWindow(dlg, SW_HIDE);
  return TRUE;
}

}  // namespace spinox
