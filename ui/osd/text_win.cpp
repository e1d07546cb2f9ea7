#include "ui/osd/text_win.h"

#include "db/settings.h"
#include "plugin/shell_win.h"

namespace spinox {

namespace {

// One brush at a time, made anew when the display colour changes.
HBRUSH gBrush = nullptr;
COLORREF gBrushColor = 0;

HBRUSH DisplayBrush() {
  if (gBrush && gBrushColor == _txt_bg) return gBrush;
  ReleaseDisplayBrush();
  gBrushColor = _txt_bg;
  gBrush = CreateSolidBrush(gBrushColor);
  return gBrush;
}

}  // namespace

INT_PTR CALLBACK DlgProcText(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CTLCOLORDLG) return 0;
  SetBkMode(reinterpret_cast<HDC>(wParam), OPAQUE);
  return reinterpret_cast<INT_PTR>(DisplayBrush());
}

INT_PTR CALLBACK dummy(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

void HideDisplay() {
  if (_hwndText) ShowWindow(_hwndText, SW_HIDE);
}

void ReleaseDisplayBrush() {
  if (gBrush) DeleteObject(gBrush);
  gBrush = nullptr;
}

}  // namespace spinox
