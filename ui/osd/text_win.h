// The on-screen display's window (dialog 106) and the hidden window that owns it.
#pragma once
#include <windows.h>

namespace spinox {

// Paints the whole window in the display colour; its region decides what shows.
INT_PTR CALLBACK DlgProcText(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);
// The hidden owner's procedure: handles nothing.
INT_PTR CALLBACK dummy(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

// Takes the display off the screen (the time-out clears _txt_showing itself).
void HideDisplay();
// Releases the display's brush (at shutdown).
void ReleaseDisplayBrush();

}  // namespace spinox
