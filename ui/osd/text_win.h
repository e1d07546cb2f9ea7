// The on-screen display: a frameless, topmost window (dialog 106) shaped like its text, and the
// hidden window that owns it. The display's settings are the _txt_ fields of the shell's
// settings; what it shows is the shell's DisplayState.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "db/records.h"
#include "ui/toolkit/gdi_win.h"

namespace spinox {

// One font at a time, made anew when the face, the size or the weight changes.
struct DisplayFontCache {
  Font font;
  std::string face;
  int32_t size = 0;
  int32_t bold = 0;
};

// The display window's own state.
struct DisplayWindowState {
  // The region last given to the window. The window owns it: it is never deleted here.
  HRGN _txt_region = nullptr;
  SolidBrush gBrush;  // the display colour
  DisplayFontCache gFont;
};

// Paints the whole window in the display colour; its region decides what shows.
INT_PTR CALLBACK DlgProcText(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);
// The hidden owner's procedure: handles nothing.
INT_PTR CALLBACK dummy(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

// Expands the template for `song` and shows it at (_txt_x, _txt_y), shaped like its text. Called
// again while up, it replaces the text. False when there is no display window. The caller starts
// the display's clock, which takes it down after _txt_timeEnd seconds.
bool DisplayText(const SongInfo& song);
// Gives the display window the region of _txt_display's glyphs: line k at y = k * _txt_size.
void SetRegion();
// Takes the display off the screen (its clock is the caller's).
void HideDisplay();
// Releases the display's brush and font (at shutdown).
void ReleaseDisplayObjects();

// Fills a combo box with the face names of the installed TrueType fonts.
void FillComboWithFonts(HWND dlg, int id);
// Font enumeration callback: adds TrueType faces to the combo box `combo`; always goes on.
int CALLBACK EnumFontsProc(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD type,
                           LPARAM combo);

}  // namespace spinox
