// Drawing the embedded dialogs in the player's skin colours: the colour table is read from the
// skin's dialog bitmap, and the standard controls' colour requests are answered from it.
#pragma once
#include <windows.h>

namespace spinox {

// Takes the skin's bitmap from the player and refills the colour table. Without a bitmap the
// table keeps its colours.
void WADlg_init(HWND player);
// Releases the held bitmap and the last brush.
void WADlg_close();
// A dialog procedure's first call for every message: non-zero is a brush to return at once.
INT_PTR WADlg_handleDialogMsgs(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);
// Paints the dialog's own background in skin colour 2 (the children draw themselves).
void WADlg_DrawChildWindowBorders(HWND dlg, const int* codes, int count);

// The handles held, for the shell's checks.
HBITMAP WADlg_heldBitmap();
HBRUSH WADlg_lastBrush();

}  // namespace spinox
