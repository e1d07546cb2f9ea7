// The list on show: the computed hit list the window displays, with its filter, the period's
// scroll state and the marked rows, and the stored settings it was computed for. The plug-in
// keeps one for its window (its settings are the settings file's); the tool and the tests make
// their own.
#pragma once
#include <cstdint>
#include <vector>

#include "hitlist/engine.h"
#include "hitlist/hitlist.h"

namespace spinox {

// The largest list the array is ever made for; a larger "Show Top" is cut to it.
constexpr int32_t kMaxListSize = 1 << 20;

struct ShownList {
  explicit ShownList(HitListSettings& stored) : settings(stored) {}

  // What the list shows (_type, _period, _start, _end, _size, ...): the settings file's part,
  // owned by whoever keeps the settings.
  HitListSettings& settings;
  std::vector<HitListItem> _hitlist;  // the computed list, replaced as a whole by each refresh
  int32_t _hitlistsize = 0;           // rows on show
  int32_t _filter = kFilterNone;      // FilterType
  char _theFilter[kFilterSize] = {};  // filter value, as chosen
  int32_t _pivot = 0;                 // period end at the last refresh
  int32_t _pivoti = 0;                // scroll position given to that period
  int32_t _first = 0;                 // time of the first play
  int32_t _last = 0;                  // later of the last play's time and _end
  int32_t lvPlaying = -1;             // row of the playing track, -1 if none
  int32_t lvSelect = -1;              // focused row of the list view, -1 if none
};

// Replaces _hitlist by `size` zeroed items (at least one; size cut to 0 .. kMaxListSize). With
// `markEmpty` the first item's id is -1 (the start-up array).
void AllocateHitList(ShownList& list, int32_t size, bool markEmpty);

// The item of a row on show, or null when the row shows none.
const HitListItem* ShownItem(const ShownList& list, int32_t row);

// The engine's query for the list's settings and filter: with previous positions when the
// "Prev" or "Chng" column is asked for outside "All".
HitListQuery QueryOf(const ShownList& list, HitListProgress* progress);

}  // namespace spinox
