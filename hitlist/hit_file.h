// Reading the hit file for one computation: locating a period by its times and walking its
// plays in chunks. The file's last plays are read once when it is opened: the periods asked
// for most (the latest day or week, the log) then cost no further read.
#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "base/file.h"
#include "db/record_io.h"
#include "db/records.h"

namespace spinox::hitlist_detail {

constexpr int64_t kHitsPerChunk = static_cast<int64_t>(kScanChunk / sizeof(HitRecord));

// The hit records [start, end).
struct HitRange {
  int64_t start = 0;
  int64_t end = 0;
};

// Size in bytes of a file, by its directory entry (no open); -1 when there is none.
int64_t PathSize(const std::string& path);

class HitFile {
 public:
  // Room the file needs for its last plays and its read chunk, in records.
  static constexpr int64_t kStorage = 2048 + kHitsPerChunk;

  // False when the file cannot be opened (a missing file). `storage` (kStorage records, kept
  // by the caller until the file is released) saves an allocation; null: the file allocates.
  bool Open(HitRecord* storage = nullptr);
  int64_t count() const { return count_; }

  // The time of record `index`; false when it cannot be read.
  bool Time(int64_t index, int32_t* t);
  // Reads records [index, index + n).
  bool ReadHits(int64_t index, int64_t n, HitRecord* out);

  // The bisection of FindTime: the first record at or after t, or the one before it.
  int64_t FindTime(int32_t t);
  // Exactly the first record whose time is at or after t.
  int64_t LowerBound(int32_t t);
  // The plays with from <= time < to.
  HitRange Locate(int32_t from, int32_t to);

  // Calls visit(hit) for the range in file order.
  template <typename Visit>
  void ForEach(HitRange r, Visit visit);
  // Calls visit(hit) from the range's latest play back until it returns true.
  template <typename Visit>
  void ForEachBackwards(HitRange r, Visit visit);

 private:
  static constexpr int64_t kTail = kStorage - kHitsPerChunk;

  bool First(int32_t* t);
  int64_t SearchFile(int32_t t, int64_t hi, int32_t thi);

  char buffer_[4096];  // the stream's buffer; declared before file_, which uses it
  File file_;
  int64_t count_ = 0;
  int64_t tailStart_ = 0;  // the last plays [tailStart_, count_), held in tail_
  std::unique_ptr<HitRecord[]> own_;
  HitRecord* tail_ = nullptr;
  HitRecord* chunk_ = nullptr;  // kHitsPerChunk records
};

template <typename Visit>
void HitFile::ForEach(HitRange r, Visit visit) {
  int64_t fileEnd = std::min(r.end, tailStart_);
  if (r.start < fileEnd) {
    for (int64_t i = r.start; i < fileEnd; i += kHitsPerChunk) {
      int64_t n = std::min(kHitsPerChunk, fileEnd - i);
      if (!ReadHits(i, n, chunk_)) return;
      for (int64_t j = 0; j < n; ++j) visit(chunk_[j]);
    }
  }
  for (int64_t i = std::max(r.start, tailStart_); i < r.end; ++i)
    visit(tail_[static_cast<size_t>(i - tailStart_)]);
}

template <typename Visit>
void HitFile::ForEachBackwards(HitRange r, Visit visit) {
  int64_t pos = r.end;
  for (; pos > r.start && pos > tailStart_; --pos) {
    if (visit(tail_[static_cast<size_t>(pos - 1 - tailStart_)])) return;
  }
  for (int64_t chunk = kTail; pos > r.start; chunk = std::min(chunk * 2, kHitsPerChunk)) {
    int64_t n = std::min(chunk, pos - r.start);
    pos -= n;
    if (!ReadHits(pos, n, chunk_)) return;
    for (int64_t j = n - 1; j >= 0; --j) {
      if (visit(chunk_[j])) return;
    }
  }
}

}  // namespace spinox::hitlist_detail
