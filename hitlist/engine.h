// The hit list engine: counts the plays of a period per song, album or artist, or lists the
// latest plays, optionally restricted to an album, an artist or the player's playlist, with
// each entry's position in the period before.
#pragma once
#include <cstdint>

#include "hitlist/hitlist.h"

namespace spinox {

// Progress of the playlist scan; the shell shows it as the hit list window's progress bar.
class HitListProgress {
 public:
  virtual ~HitListProgress() = default;
  virtual void Begin(int32_t total) = 0;  // shows the bar with the range 0..total
  virtual void Step() = 0;
  virtual void End() = 0;  // hides the bar
};

// Record counts beyond this are not listed: a damaged file must not make the working arrays
// unbounded. Ids at or past it are skipped like removed ones.
constexpr int32_t kMaxListRecords = 1 << 22;

// What GetHitList computes: the list of `type` for the plays with from <= time < to.
// `filterValue` names the album ("artist - album") or the artist of those filters. mode: 0
// without previous positions, 1 with them (kPosCompare), 2 is the comparison pass itself, where
// the items also bring the playlist membership marks. `progress` (may be null) shows the
// playlist scan.
struct HitListQuery {
  int32_t type = kListSongs;
  int32_t from = 0;
  int32_t to = 0;
  int32_t filterType = kFilterNone;
  const char* filterValue = nullptr;
  int32_t mode = kPosNone;
  HitListProgress* progress = nullptr;
};

// Fills items[0..n-1] with the list the query asks for. Under the playlist filter each item's
// `hits` is 1 + plays for playlist entries (the membership mark the view removes) and negative
// for records outside the playlist. Returns min(n, items built): for types 0..2 the record
// count; 0 when a file could not be opened or another process holds the database lock for a
// change (LastIoError() then says so). Items from the count up to n get id -1.
int32_t GetHitList(const HitListQuery& query, HitListItem* items, int32_t n);

// Index of the first hit record whose time is at or after t, or of the record just before it.
// 0 for a missing or empty hit file or a t before the first play; the record count for a t
// after the last play.
int32_t FindTime(int32_t t);

// qsort-style orders: by hits, descending; by id, ascending (signed); int32, ascending.
int CompareHitListItems(const void* a, const void* b);
int ResortHitlist(const void* a, const void* b);
int CompareInt(const void* a, const void* b);

}  // namespace spinox
