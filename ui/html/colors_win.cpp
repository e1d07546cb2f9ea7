#include "ui/html/colors_win.h"

#include <commdlg.h>

#include "html/color.h"
#include "settings/settings.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

constexpr int kColorTextMax = 10;  // 9 characters and a NUL

// Where the chooser starts for no colour.
COLORREF ChooserColor(uint32_t color) {
  return color == kNoColor ? RGB(255, 255, 255) : static_cast<COLORREF>(color);
}

}  // namespace

int PickColor(HWND dlg, uint32_t& color, int edit, int swatch) {
  COLORREF* _colArray = Shell()._colArray;
  _colArray[0] = ChooserColor(color);
  CHOOSECOLORW choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = dlg;
  choice.rgbResult = ChooserColor(color);
  choice.lpCustColors = _colArray;
  choice.Flags = CC_RGBINIT;
  if (!ChooseColorW(&choice)) return 0;
  color = choice.rgbResult & 0x00FFFFFF;
  Enable(dlg, swatch, 1);
  if (edit) SetColorText(dlg, edit, color);
  RepaintSwatch(dlg, swatch);
  return 1;
}

void UpdateColorEdit(HWND dlg, uint32_t& color, int edit, int swatch) {
  char text[kColorTextMax] = {};
  GetText(dlg, edit, text, sizeof text);
  color = HTMColorToCREF(text);
  Enable(dlg, swatch, color != kNoColor);
  RepaintSwatch(dlg, swatch);
}

void SetColorText(HWND dlg, int edit, uint32_t color) {
  char text[kColorTextMax] = {};
  CREFToHTMColor(color, text);
  SetText(dlg, edit, text);
}

void RepaintSwatch(HWND dlg, int swatch) {
  HWND control = GetDlgItem(dlg, swatch);
  if (control) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

INT_PTR PaintSwatch(HDC dc, uint32_t color, SolidBrush* brush) {
  if (color == kNoColor) return 0;
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, color);
  SetTextColor(dc, color);
  return reinterpret_cast<INT_PTR>(brush->For(color));
}

}  // namespace spinox
