// The on-screen display: a frameless, topmost window (dialog 106) shaped like its text, and the
// hidden window that owns it. The display's settings are the _txt_ globals (settings/settings.h).
#pragma once
#include <windows.h>

namespace spinox {

// The region last given to the display window. The window owns it: it is never deleted here.
extern HRGN _txt_region;

// Paints the whole window in the display colour; its region decides what shows.
INT_PTR CALLBACK DlgProcText(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);
// The hidden owner's procedure: handles nothing.
INT_PTR CALLBACK dummy(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

// Expands the template for the track in _data and shows it at (_txt_x, _txt_y), shaped like
// its text, for _txt_timeEnd seconds. Called again while up, it replaces the text and restarts
// the count.
void DisplayText();
// Gives the display window the region of _txt_display's glyphs: line k at y = k * _txt_size.
void SetRegion();
// Takes the display off the screen (the time-out clears _txt_showing itself).
void HideDisplay();
// Releases the display's brush and font (at shutdown).
void ReleaseDisplayObjects();

// Fills a combo box with the face names of the installed TrueType fonts.
void FillComboWithFonts(HWND dlg, int id);
// Font enumeration callback: adds TrueType faces to the combo box `combo`; always goes on.
int CALLBACK EnumFontsProc(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD type,
                           LPARAM combo);

}  // namespace spinox
