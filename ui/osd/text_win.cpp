#include "ui/osd/text_win.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "base/text.h"
#include "plugin/shell_win.h"
#include "plugin/tick.h"
#include "settings/settings.h"
#include "ui/osd/display_text.h"
#include "ui/toolkit/gdi_win.h"

namespace spinox {

HRGN _txt_region = nullptr;

namespace {

// The furthest a line may start from the window's top and still be drawn: GDI coordinates are
// 16-bit on some systems, and a hostile font size must not overflow the line positions.
constexpr int64_t kMaxLineOffset = 32767;

SolidBrush gBrush;

// One font at a time, made anew when the face, the size or the weight changes.
struct DisplayFontCache {
  Font font;
  std::string face;
  int32_t size = 0;
  int32_t bold = 0;
};
DisplayFontCache gFont;

HFONT DisplayFont() {
  std::string face = FieldText(_txt_font);
  if (gFont.font.Get() && gFont.face == face && gFont.size == _txt_size && gFont.bold == _txt_bold)
    return gFont.font.Get();
  gFont.font.Reset(CreateFontA(_txt_size, 0, 0, 0, _txt_bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                               FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, FF_ROMAN, face.c_str()));
  gFont.face = face;
  gFont.size = _txt_size;
  gFont.bold = _txt_bold;
  return gFont.font.Get();
}

// The glyph outlines of one line, added to `all`. An empty line adds nothing.
void AddLine(HDC dc, const char* text, int length, int y, HRGN all) {
  if (length <= 0) return;
  BeginPath(dc);
  TextOutA(dc, 0, y, text, length);
  EndPath(dc);
  Region line(PathToRegion(dc));
  if (line.Get()) CombineRgn(all, all, line.Get(), RGN_OR);
}

void AddLines(HDC dc, HRGN all) {
  const char* text = _txt_display;
  for (int64_t k = 0;; ++k) {
    int nl = FindNL(text);
    int length = nl < 0 ? static_cast<int>(std::strlen(text)) : nl;
    int64_t y = k * _txt_size;
    if (y > kMaxLineOffset || y < -kMaxLineOffset) break;
    AddLine(dc, text, length, static_cast<int>(y), all);
    if (nl < 0) break;
    text += nl + 1;
  }
}

}  // namespace

INT_PTR CALLBACK DlgProcText(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CTLCOLORDLG) return FALSE;
  SetBkMode(reinterpret_cast<HDC>(wParam), OPAQUE);
  return reinterpret_cast<INT_PTR>(gBrush.For(_txt_bg));
}

INT_PTR CALLBACK dummy(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

// The outlines are taken in transparent mode: a path then holds the glyphs alone on every
// system (some add the opaque text cell to the path, others do not), and its region is the
// letters with the desktop between them.
void SetRegion() {
  if (!_hwndText) return;
  WindowDC dc(_hwndText);
  if (!dc.Get()) return;
  Selection font(dc.Get(), DisplayFont());
  SetBkMode(dc.Get(), TRANSPARENT);
  Region all(CreateRectRgn(0, 0, 0, 0));
  if (!all.Get()) return;
  AddLines(dc.Get(), all.Get());
  // From here on the window owns the region and deletes the one it had.
  if (SetWindowRgn(_hwndText, all.Get(), TRUE)) _txt_region = all.Release();
}

// Shown without taking the keyboard focus from whatever the user is typing into.
void DisplayText() {
  if (!_hwndText) return;
  ExpandTxtDisplay(_data);
  ShowWindow(_hwndText, SW_HIDE);
  SetWindowPos(_hwndText, nullptr, _txt_x, _txt_y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetRegion();
  _txt_timeNow = 0;
  _txt_showing = 1;
  ShowWindow(_hwndText, SW_SHOWNA);
}

void HideDisplay() {
  if (_hwndText) ShowWindow(_hwndText, SW_HIDE);
}

void ReleaseDisplayObjects() {
  gBrush.Reset();
  gFont.font.Reset();
}

int CALLBACK EnumFontsProc(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM combo) {
  if (type & TRUETYPE_FONTTYPE)
    SendMessageA(reinterpret_cast<HWND>(combo), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(font->lfFaceName));
  return 1;
}

void FillComboWithFonts(HWND dlg, int id) {
  HWND combo = GetDlgItem(dlg, id);
  if (!combo) return;
  WindowDC dc(dlg);
  if (dc.Get()) EnumFontsA(dc.Get(), nullptr, EnumFontsProc, reinterpret_cast<LPARAM>(combo));
}

}  // namespace spinox
