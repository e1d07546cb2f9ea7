// Periods of the hit list: the bounds of the six choices, stepping them through time with the
// list window's scroll bar, the previous-position texts, the filter choice and the row of the
// playing track.
#pragma once
#include <cstdint>
#include <string>

#include "db/records.h"
#include "hitlist/shown_list.h"

namespace spinox {

constexpr int32_t kDaySeconds = 86400;
constexpr int32_t kWeekSeconds = 604800;
constexpr int32_t kMonthSeconds = 2592000;  // 30 days
constexpr int32_t kYearSeconds = 31536000;  // 365 days

struct PeriodBounds {
  int32_t start;
  int32_t end;
};

// Length of a fixed period choice (Day to Year); 0 for "All" and "User Defined".
int32_t PeriodLength(int32_t period);
// The bounds "Refresh Hitlist" gives a period choice at `now`; "User Defined" takes the two
// pickers' times.
PeriodBounds BoundsOfPeriod(int32_t period, int32_t now, int32_t userFrom, int32_t userTo);
// The time a period's end is shown as (the title, the page's end date, the "To" picker). A
// user-defined period ends at the first second after its last whole day, so the second
// before its end is shown; the other periods show their end.
int32_t ShownEnd(int32_t period, int32_t end);
// Sets the list's _start and _end from its _period as "Refresh Hitlist" does, and _pivot = _end.
void SetPeriodBounds(ShownList& list, int32_t now, int32_t userFrom, int32_t userTo);

// The period scroll bar: range 0..range, thumb at pos.
struct ScrollBarState {
  bool enabled = false;
  int32_t range = 0;
  int32_t pos = 0;
};

// The arithmetic of UpdateScrollBar for a hit file whose plays run from firstHit to lastHit.
// Sets nothing; `first` and `last` are what _first and _last become.
struct ScrollArithmetic {
  int32_t range;
  int32_t pos;
  int32_t first;
  int32_t last;
};
ScrollArithmetic ComputeScroll(int32_t period, int32_t start, int32_t end, int32_t firstHit,
                               int32_t lastHit);

// Reads the first and last play from the hit file and sets the list's _first, _last and _pivoti
// for its _period, _start and _end. Returns what the scroll bar shows: disabled for "All" and
// without plays. The caller also disables it when _start is later than _end.
ScrollBarState UpdateScrollBar(ShownList& list);

// The period that scroll position p shows: whole period lengths away from the one given
// position pivoti at the last refresh, which ended at pivot.
PeriodBounds StepPeriod(int32_t p, int32_t pivoti, int32_t pivot, int32_t start, int32_t end);
// Moves the list's period to the one scroll position p shows.
void ScrollPeriod(ShownList& list, int32_t p);

// Texts of the "Prev" and "Chng" cells for the row at 0-based index `row` whose previous
// position is `lastPos` (-1: none).
std::string PrevText(int32_t row, int32_t lastPos);
std::string ChngText(int32_t row, int32_t lastPos);

// The filter type of an entry text of the options panel's filter-type list: "None" 0,
// "Album" 1, "Artist" 2, "Winamp Playlist" 3, anything else 0.
int32_t GetFilter(const std::string& entryText);

// Times of the first and last play in the hit file; false without a readable play.
bool FirstAndLastPlay(int32_t* first, int32_t* last);

// Sets the list's lvPlaying to the row of `playing` among its _hitlistsize rows on show (-1 when
// it is not one of them or the list is the log). `redraw` (may be null) is called for the row
// that lost the mark and for the row that got it.
void CurrentHitlistPos(ShownList& list, const SongInfo& playing, void (*redraw)(int32_t row));

}  // namespace spinox
