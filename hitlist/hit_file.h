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
  // Plays read when the file is opened, at most: the periods asked for most (the latest day or
  // week, the log) then cost no further read.
  static constexpr int64_t kTail = 2048;
  // Room for the last plays (and the partial record that may end the file) and a read chunk.
  static constexpr int64_t kStorage = kTail + 1 + kHitsPerChunk;

  // False when the file cannot be opened (a missing file). Reads the file's last `tail` plays
  // (1 to kTail). `storage` (kStorage records, kept by the caller until the file is released)
  // saves the allocations; null: the file allocates the tail, and a read chunk only when a walk
  // goes past the tail.
  bool Open(HitRecord* storage = nullptr, int64_t tail = kTail);
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
  // The same over Locate(from, to), searching the file for the period's start only when the
  // walk goes past the plays read at open (the log of a long period rarely does).
  template <typename Visit>
  void ForEachBackwards(int32_t from, int32_t to, Visit visit);

 private:
  void ReadTail();
  HitRecord* Chunk();  // kHitsPerChunk records; null when they cannot be allocated
  bool First(int32_t* t);
  int64_t SearchFile(int32_t t, int64_t hi, int32_t thi);

  File file_;
  int64_t count_ = 0;
  int64_t tailSize_ = 0;   // plays read at open, at most
  int64_t tailStart_ = 0;  // the last plays [tailStart_, count_), held in tail_
  std::unique_ptr<HitRecord[]> ownTail_;
  std::unique_ptr<HitRecord[]> ownChunk_;
  HitRecord* tail_ = nullptr;
  HitRecord* chunk_ = nullptr;
};

template <typename Visit>
void HitFile::ForEach(HitRange r, Visit visit) {
  int64_t fileEnd = std::min(r.end, tailStart_);
  if (r.start < fileEnd) {
    HitRecord* chunk = Chunk();
    if (!chunk) return;
    for (int64_t i = r.start; i < fileEnd; i += kHitsPerChunk) {
      int64_t n = std::min(kHitsPerChunk, fileEnd - i);
      if (!ReadHits(i, n, chunk)) return;
      for (int64_t j = 0; j < n; ++j) visit(chunk[j]);
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
  if (pos <= r.start) return;
  HitRecord* chunk = Chunk();
  if (!chunk) return;
  for (int64_t size = tailSize_; pos > r.start; size = std::min(size * 2, kHitsPerChunk)) {
    int64_t n = std::min(size, pos - r.start);
    pos -= n;
    if (!ReadHits(pos, n, chunk)) return;
    for (int64_t j = n - 1; j >= 0; --j) {
      if (visit(chunk[j])) return;
    }
  }
}

template <typename Visit>
void HitFile::ForEachBackwards(int32_t from, int32_t to, Visit visit) {
  if (count_ == 0 || from >= to) return;
  int64_t end = LowerBound(to);
  const HitRecord& last = tail_[static_cast<size_t>(count_ - 1 - tailStart_)];
  if (from > tail_[0].time || from > last.time) {  // the start lies among the tail's plays
    ForEachBackwards(Locate(from, to), visit);
    return;
  }
  // Here the start is at or before tailStart_: the tail's plays up to `end` are all counted.
  bool done = false;
  if (end > tailStart_)
    ForEachBackwards(HitRange{tailStart_, end},
                     [&](const HitRecord& h) { return done = visit(h); });
  if (done) return;
  int64_t start = LowerBound(from);
  ForEachBackwards(HitRange{start, std::max(std::min(end, tailStart_), start)}, visit);
}

}  // namespace spinox::hitlist_detail
