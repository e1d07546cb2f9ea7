// Colour settings in dialogs: a text edit with the colour as "#rrggbb", a read-only swatch
// painted in the colour (disabled while there is none), and a "..." button for the chooser.
#pragma once
#include <windows.h>

#include <cstdint>

#include "ui/toolkit/gdi_win.h"

namespace spinox {

// The colour chooser owned by `dlg`, starting at `color`, with the shell's custom colours. On
// confirmation the colour is stored, the swatch enabled and repainted, and its text written into
// `edit` (0: none). 1 when chosen.
int PickColor(HWND dlg, uint32_t& color, int edit, int swatch);
// Reads the colour text of `edit` (at most 9 characters) into `color`; the swatch follows. The
// text stays as typed.
void UpdateColorEdit(HWND dlg, uint32_t& color, int edit, int swatch);
// Writes `color` into `edit` as its text, empty for none.
void SetColorText(HWND dlg, int edit, uint32_t color);
// Redraws a swatch at once, background first.
void RepaintSwatch(HWND dlg, int swatch);
// The answer to a swatch's control colour message: background and text in `color`, opaque, and
// a brush of that colour. 0 (default painting) for no colour.
INT_PTR PaintSwatch(HDC dc, uint32_t color, SolidBrush* brush);

}  // namespace spinox
