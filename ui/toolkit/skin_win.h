// Drawing the embedded dialogs in the player's skin colours: the colour table is read from the
// skin's dialog bitmap, and the standard controls' colour requests are answered from it.
#pragma once
#include <windows.h>

#include "ui/toolkit/gdi_win.h"
#include "ui/toolkit/skin.h"

namespace spinox {

// The skin the embedded dialogs share: the colour table, the bitmap it was read from (held
// until the next is read) and the one brush last handed out for a control's colours.
struct Skin {
  SkinColors table;
  Bitmap wadlg_bitmap;
  Brush wadlg_lastbrush;
};

// Takes over the skin's bitmap (from the player; null when it gives none), dropping the one
// held, and refills the colour table from it. Without a bitmap the table keeps its colours.
void WADlg_init(Skin& skin, HBITMAP bitmap);
// Releases the held bitmap and the last brush.
void WADlg_close(Skin& skin);
// A dialog procedure's first call for every message: non-zero is a brush to return at once.
INT_PTR WADlg_handleDialogMsgs(Skin& skin, UINT message, WPARAM wParam);
// Paints the dialog's own background in skin colour 2 (the children draw themselves).
void WADlg_DrawChildWindowBorders(const Skin& skin, HWND dlg);

inline uint32_t WADlg_getColor(const Skin& skin, int index) {
  return WADlg_getColor(skin.table, index);
}

}  // namespace spinox
