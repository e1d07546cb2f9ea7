// The playlist filter's scan: the player's playlist entries looked up by name in one pass over
// the record file (a hash of the entries' names) instead of one scan per entry.
#pragma once
#include <cstdint>

#include "hitlist/engine.h"
#include "hitlist/engine_internal.h"

namespace spinox::hitlist_detail {

// Under the playlist filter, marks each playlist track, album or artist that the database
// holds (its counter becomes 1 + plays). Reads at most `length` entries and writes nothing:
// an entry the database does not hold has no plays and no entry.
void ScanPlaylist(int32_t type, int32_t length, Working* work, HitListProgress* progress);

}  // namespace spinox::hitlist_detail
