// What the hit list window shows: the refresh, the rows and the title, the columns and their
// widths, the layout of the controls and the custom drawing of the focused and playing rows.
#pragma once
#include <windows.h>
// The list view's records need windows.h first.
#include <commctrl.h>

#include <cstdint>

#include "hitlist/hitlist.h"

namespace spinox {

// Recomputes the list on show's _hitlist for its settings with both embedded windows disabled,
// shows it, and marks the playing track's row.
void RefreshHitList();
// Fills the rows and the title from items[0..n-1] of a list of `type`; sets the list on show's
// _hitlistsize.
// Without the record file the rows stay empty and the title keeps its text.
void DisplayHitList(HitListItem* items, int32_t n, int32_t type);
// Sets the list on show's _type and rebuilds the list view's columns for it and the current column
// settings.
void PrepareColumns(int type);
// Shares the list view's width among the existing columns by their weights.
void ResizeColumns();
// Lays out the four controls for a window of w x h pixels, then the column widths.
void FixListSize(int w, int h);
// The answer to the list view's custom-draw notification: the focused row (lvSelect) in the
// skin's selection colour, the playing row (lvPlaying) in its own text colour.
LRESULT ProcessCustomDraw(NMLVCUSTOMDRAW* draw);
// Gives the row the selected state (on) or takes it away (off).
void EnableHighlighting(int row, int on);
// Puts UpdateScrollBar's range and position into the period scroll bar, or disables it.
void SetPeriodScrollBar();

}  // namespace spinox
