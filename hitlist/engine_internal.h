// Pieces of the hit list engine shared between its source files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "hitlist/engine.h"

namespace spinox::hitlist_detail {

// The record file a list type counts, and its record size.
const char* RecordFileOf(int32_t type);
size_t RecordSizeOf(int32_t type);

// The counters of one computation, in memory the computation owns. Entry i is record i for
// i < records; the playlist scan appends the records it adds to the database after them.
struct Working {
  int32_t records = 0;      // whole records of the list type's file (capped)
  int32_t capacity = 0;     // entries there is room for
  int32_t* hits = nullptr;  // counter of each entry
  // Unless `dense`, only these entries can have a non-zero counter (the played ones, each once).
  int32_t* touched = nullptr;
  int32_t touchedCount = 0;
  bool dense = false;             // every entry is a candidate (counters started at -1)
  std::vector<int32_t> addedIds;  // record ids of the entries from `records` on

  // Takes 2 * capacity counters of memory and sets every counter to `start`.
  void Init(int32_t* memory, int32_t recordCount, int32_t room, int32_t start);
  int32_t count() const { return records + static_cast<int32_t>(addedIds.size()); }
  int32_t Id(int32_t entry) const {
    return entry < records ? entry : addedIds[static_cast<size_t>(entry - records)];
  }
};

// Under the playlist filter, marks each playlist track, album or artist in `work` (values
// 1 + plays) and appends the ones the database did not know, after adding them to it. At most
// `length` entries are read.
void ScanPlaylist(int32_t type, int32_t length, Working* work, HitListProgress* progress);

}  // namespace spinox::hitlist_detail
