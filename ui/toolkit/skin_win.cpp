#include "ui/toolkit/skin_win.h"

namespace spinox {

namespace {

void ReadColors(HBITMAP bitmap, SkinColors* table) {
  MemoryDC dc;
  if (!dc.Get()) return;
  Selection selected(dc.Get(), bitmap);
  uint32_t pixels[kSkinColorCount];
  uint32_t reference = GetPixel(dc.Get(), kSkinReferenceX, 0);
  for (int i = 0; i < kSkinColorCount; ++i) pixels[i] = GetPixel(dc.Get(), SkinPixelX(i), 0);
  ComputeSkinColors(pixels, reference, table->wadlg_colors);
}

// Brush and colours of one control colour request; 0 for the requests left to the dialog.
// Each request makes one brush and deletes the one before.
HBRUSH ControlColors(Skin& skin, UINT message, HDC dc) {
  bool field =
      message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORBTN;
  bool plain = message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC;
  if (!field && !plain) return nullptr;
  COLORREF back = GetNearestColor(dc, WADlg_getColor(skin, field ? 0 : 2));
  skin.wadlg_lastbrush.Reset(CreateSolidBrush(back));
  SetTextColor(dc, WADlg_getColor(skin, message == WM_CTLCOLORSTATIC ? 4 : 1));
  SetBkColor(dc, back);
  return skin.wadlg_lastbrush.Get();
}

}  // namespace

void WADlg_init(Skin& skin, HBITMAP bitmap) {
  skin.wadlg_bitmap.Reset(bitmap);
  if (bitmap) ReadColors(bitmap, &skin.table);
}

void WADlg_close(Skin& skin) {
  skin.wadlg_bitmap.Reset();
  skin.wadlg_lastbrush.Reset();
}

INT_PTR WADlg_handleDialogMsgs(Skin& skin, UINT message, WPARAM wParam) {
  return reinterpret_cast<INT_PTR>(ControlColors(skin, message, reinterpret_cast<HDC>(wParam)));
}

void WADlg_DrawChildWindowBorders(const Skin& skin, HWND dlg) {
  Painting paint(dlg);
  if (!paint.Get() || !paint.Info().fErase) return;
  Brush brush(CreateSolidBrush(WADlg_getColor(skin, 2)));
  FillRect(paint.Get(), &paint.Info().rcPaint, brush.Get());
}

}  // namespace spinox
