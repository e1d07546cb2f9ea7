#include "ui/toolkit/skin_win.h"

#include "plugin/host_win.h"
#include "ui/toolkit/skin.h"

namespace spinox {

namespace {

HBITMAP wadlg_bitmap = nullptr;
HBRUSH wadlg_lastbrush = nullptr;

void ReadColors(HBITMAP bitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, bitmap);
  uint32_t pixels[kSkinColorCount];
  uint32_t reference = GetPixel(dc, kSkinReferenceX, 0);
  for (int i = 0; i < kSkinColorCount; ++i) pixels[i] = GetPixel(dc, SkinPixelX(i), 0);
  ComputeSkinColors(pixels, reference, wadlg_colors);
  SelectObject(dc, old);
  DeleteDC(dc);
}

// Brush and colours of one control colour request; 0 for the requests left to the dialog.
HBRUSH ControlColors(UINT message, HDC dc) {
  bool field =
      message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORBTN;
  bool plain = message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC;
  if (!field && !plain) return nullptr;
  COLORREF back = GetNearestColor(dc, WADlg_getColor(field ? 0 : 2));
  if (wadlg_lastbrush) DeleteObject(wadlg_lastbrush);
  wadlg_lastbrush = CreateSolidBrush(back);
  SetTextColor(dc, WADlg_getColor(message == WM_CTLCOLORSTATIC ? 4 : 1));
  SetBkColor(dc, back);
  return wadlg_lastbrush;
}

}  // namespace

void WADlg_init(HWND player) {
  if (wadlg_bitmap) DeleteObject(wadlg_bitmap);
  wadlg_bitmap = QuerySkinBitmap(player);
  if (wadlg_bitmap) ReadColors(wadlg_bitmap);
}

void WADlg_close() {
  if (wadlg_bitmap) DeleteObject(wadlg_bitmap);
  if (wadlg_lastbrush) DeleteObject(wadlg_lastbrush);
  wadlg_bitmap = nullptr;
  wadlg_lastbrush = nullptr;
}

INT_PTR WADlg_handleDialogMsgs(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  return reinterpret_cast<INT_PTR>(ControlColors(message, reinterpret_cast<HDC>(wParam)));
}

void WADlg_DrawChildWindowBorders(HWND dlg, const int* codes, int count) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dlg, &ps);
  if (dc && ps.fErase) {
    HBRUSH brush = CreateSolidBrush(WADlg_getColor(2));
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
  }
  EndPaint(dlg, &ps);
}

HBITMAP WADlg_heldBitmap() {
  return wadlg_bitmap;
}

HBRUSH WADlg_lastBrush() {
  return wadlg_lastbrush;
}

}  // namespace spinox
