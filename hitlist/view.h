// What the hit list window shows: the column set of a list type, the column widths, every
// cell text and the title line. The Win32 window puts these into its list view; the tool
// prints them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "hitlist/engine.h"
#include "hitlist/hitlist.h"
#include "hitlist/shown_list.h"
#include "hitlist/time_text.h"

namespace spinox {

// Column formats as the list view reports them: the justification bits.
constexpr int32_t kColumnLeft = 0;
constexpr int32_t kColumnRight = 1;
constexpr int32_t kColumnCenter = 2;
constexpr int kMaxColumns = 8;

struct HitListColumn {
  const char* title;
  int32_t format;  // kColumnLeft or kColumnCenter
  int32_t weight;  // share of the list's width
};

// The columns of a list type; "Prev" and "Chng" only when asked for, outside "All" and the log.
std::vector<HitListColumn> ColumnSet(int32_t type, int32_t pos, int32_t change, int32_t period,
                                     int32_t check);
// The columns for the settings' _type, _pos, _change, _period and _check.
std::vector<HitListColumn> CurrentColumns(const HitListSettings& s);
// Widths in pixels for a list `listWidth` pixels wide, 5 % kept for the vertical scroll bar.
std::vector<int32_t> ColumnWidths(const std::vector<HitListColumn>& columns, int32_t listWidth);

// The date-and-time cell of a play: the date format, a blank and the time format, at most 49
// characters.
std::string PlayedText(int32_t t, const TimeFormats& formats);
// The "%d days" cell of a song last played at `lastPlayed`.
std::string DaysText(int32_t lastPlayed, int32_t now);

// The title line for `rows` rows shown, from the period and filter settings.
std::string TitleLine(int32_t type, int32_t period, int32_t start, int32_t end, int32_t filter,
                      const std::string& filterValue, int32_t rows, const std::string& dateFormat);

// The rows of a computed list and its title. `ok` is false when the record file could not be
// read: the window then keeps its old title and shows no row.
struct HitListRows {
  bool ok = false;
  std::vector<std::vector<std::string>> cells;
  std::string title;
};

// DisplayHitList's content for items[0..n-1] of `type` with the list's settings and filter.
// Under the playlist filter the membership mark is taken off the shown items' counts in the
// array. Sets the list's _hitlistsize to the number of rows when the records could be read.
HitListRows DisplayRows(ShownList& list, HitListItem* items, int32_t n, int32_t type,
                        const TimeFormats& formats);

// RefreshHitList's computation: a new _hitlist of _size items computed for the list's settings
// and filter, then its rows. The shell disables its windows around it and marks the playing row.
HitListRows RecomputeHitList(ShownList& list, HitListProgress* progress,
                             const TimeFormats& formats);

}  // namespace spinox
