// Pieces of the hit list engine shared between its source files.
#pragma once
#include <cstddef>
#include <cstdint>

#include "hitlist/engine.h"

namespace spinox::hitlist_detail {

// The record file a list type counts, and its record size.
const char* RecordFileOf(int32_t type);
size_t RecordSizeOf(int32_t type);

// The counters of one computation, in memory the computation owns. Entry i is record i.
struct Working {
  int32_t records = 0;      // whole records of the list type's file (capped)
  int32_t* hits = nullptr;  // counter of each entry
  // Unless `dense`, only these entries can have a non-zero counter (the played ones, each once).
  int32_t* touched = nullptr;
  int32_t touchedCount = 0;
  bool dense = false;  // every entry is a candidate (counters started at -1)

  // Takes 2 * recordCount counters of memory and sets every counter to `start`.
  void Init(int32_t* memory, int32_t recordCount, int32_t start);
  int32_t count() const { return records; }
  int32_t Id(int32_t entry) const { return entry; }
};

}  // namespace spinox::hitlist_detail
