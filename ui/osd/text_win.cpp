#include "ui/osd/text_win.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "base/codepage.h"
#include "base/text.h"
#include "settings/settings.h"
#include "ui/osd/display_text.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/gdi_win.h"

namespace spinox {

namespace {

// The furthest a line may start from the window's top and still be drawn: GDI coordinates are
// 16-bit on some systems, and a hostile font size must not overflow the line positions.
constexpr int64_t kMaxLineOffset = 32767;

HFONT DisplayFont(const Settings& s) {
  DisplayFontCache& gFont = Shell().display.gFont;
  std::string face = FieldText(s._txt_font);
  if (gFont.font.Get() && gFont.face == face && gFont.size == s._txt_size &&
      gFont.bold == s._txt_bold)
    return gFont.font.Get();
  // Any character set: the text may be in any script, and the system supplies the glyphs the
  // face lacks from the fonts linked to it.
  gFont.font.Reset(CreateFontW(s._txt_size, 0, 0, 0, s._txt_bold ? FW_BOLD : FW_NORMAL, FALSE,
                               FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_ROMAN,
                               WideFromUtf8(face).c_str()));
  gFont.face = face;
  gFont.size = s._txt_size;
  gFont.bold = s._txt_bold;
  return gFont.font.Get();
}

// The glyph outlines of one line (UTF-8), added to `all`. An empty line adds nothing.
void AddLine(HDC dc, const char* text, int length, int y, HRGN all) {
  if (length <= 0) return;
  std::wstring wide = WideFromUtf8(std::string(text, static_cast<size_t>(length)));
  if (wide.empty()) return;
  BeginPath(dc);
  TextOutW(dc, 0, y, wide.c_str(), static_cast<int>(wide.size()));
  EndPath(dc);
  Region line(PathToRegion(dc));
  if (line.Get()) CombineRgn(all, all, line.Get(), RGN_OR);
}

void AddLines(HDC dc, HRGN all, const ShellState& shell) {
  const char* text = shell.osd._txt_display;
  for (int64_t k = 0;; ++k) {
    int nl = FindNL(text);
    int length = nl < 0 ? static_cast<int>(std::strlen(text)) : nl;
    int64_t y = k * shell.settings._txt_size;
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
  return reinterpret_cast<INT_PTR>(Shell().display.gBrush.For(Shell().settings._txt_bg));
}

INT_PTR CALLBACK dummy(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

// The outlines are taken in transparent mode: a path then holds the glyphs alone on every
// system (some add the opaque text cell to the path, others do not), and its region is the
// letters with the desktop between them.
void SetRegion() {
  HWND window = Shell()._hwndText;
  if (!window) return;
  WindowDC dc(window);
  if (!dc.Get()) return;
  Selection font(dc.Get(), DisplayFont(Shell().settings));
  SetBkMode(dc.Get(), TRANSPARENT);
  Region all(CreateRectRgn(0, 0, 0, 0));
  if (!all.Get()) return;
  AddLines(dc.Get(), all.Get(), Shell());
  // From here on the window owns the region and deletes the one it had.
  if (SetWindowRgn(window, all.Get(), TRUE)) Shell().display._txt_region = all.Release();
}

// Shown without taking the keyboard focus from whatever the user is typing into.
bool DisplayText(const SongInfo& song) {
  HWND window = Shell()._hwndText;
  if (!window) return false;
  ShellState& shell = Shell();
  ExpandTxtDisplay(shell.settings, song, shell.list.lvPlaying, &shell.osd);
  ShowWindow(window, SW_HIDE);
  SetWindowPos(window, nullptr, shell.settings._txt_x, shell.settings._txt_y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetRegion();
  ShowWindow(window, SW_SHOWNA);
  return true;
}

void HideDisplay() {
  HWND window = Shell()._hwndText;
  if (window) ShowWindow(window, SW_HIDE);
}

void ReleaseDisplayObjects() {
  Shell().display.gBrush.Reset();
  Shell().display.gFont.font.Reset();
}

int CALLBACK EnumFontsProc(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM combo) {
  if (type & TRUETYPE_FONTTYPE)
    SendMessageW(reinterpret_cast<HWND>(combo), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(font->lfFaceName));
  return 1;
}

void FillComboWithFonts(HWND dlg, int id) {
  HWND combo = GetDlgItem(dlg, id);
  if (!combo) return;
  WindowDC dc(dlg);
  if (dc.Get()) EnumFontsW(dc.Get(), nullptr, EnumFontsProc, reinterpret_cast<LPARAM>(combo));
}

}  // namespace spinox
