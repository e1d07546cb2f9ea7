#include "hitlist/hit_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "base/file.h"
#include "db/paths.h"

namespace spinox::hitlist_detail {

namespace {

constexpr int64_t kHitSize = static_cast<int64_t>(sizeof(HitRecord));
// Records at most this many apart are searched in memory after one read.
constexpr int64_t kSearchWindow = 512;

}  // namespace

int64_t PathSize(const std::string& path) {
#ifdef _WIN32
  struct _stati64 st;
  if (_wstati64(WidePath(path).c_str(), &st) != 0) return -1;
#else
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return -1;
#endif
  return static_cast<int64_t>(st.st_size);
}

bool HitFile::Open(HitRecord* storage, int64_t tail) {
  if (!file_.Open(FullPath(kHitFile), "rb")) return false;
  // Every read goes straight to its destination: the stream needs no buffer of its own.
  std::setvbuf(file_.get(), nullptr, _IONBF, 0);
  tailSize_ = std::clamp<int64_t>(tail, 1, kTail);
  if (storage) {
    tail_ = storage;
    chunk_ = storage + kTail + 1;
  } else {
    ownTail_.reset(new (std::nothrow) HitRecord[static_cast<size_t>(tailSize_ + 1)]);
    tail_ = ownTail_.get();
    if (!tail_) return false;
  }
  ReadTail();
  return true;
}

// One seek from the end gives both the file's size and its last plays: the bytes read are the
// tail's records and the partial record that may end the file (up to 15 bytes).
void HitFile::ReadTail() {
  FILE* f = file_.get();
  count_ = tailStart_ = 0;
  size_t want = static_cast<size_t>(tailSize_ * kHitSize + kHitSize - 1);
  unsigned char* bytes = reinterpret_cast<unsigned char*>(tail_);
  long at = 0;
  size_t got = 0;
  if (std::fseek(f, -static_cast<long>(want), SEEK_END) == 0 && (at = std::ftell(f)) >= 0) {
    got = std::fread(bytes, 1, want, f);
    if (got != want) return;
  } else {  // a file shorter than that: read whole
    at = 0;
    if (std::fseek(f, 0, SEEK_SET) != 0) return;
    got = std::fread(bytes, 1, want, f);
    if (std::ferror(f)) return;
  }
  int64_t size = static_cast<int64_t>(at) + static_cast<int64_t>(got);
  count_ = size / kHitSize;
  tailStart_ = std::max<int64_t>(count_ - tailSize_, 0);
  size_t skip = static_cast<size_t>(tailStart_ * kHitSize - at);  // where the tail's first play is
  std::memmove(bytes, bytes + skip, static_cast<size_t>((count_ - tailStart_) * kHitSize));
}

HitRecord* HitFile::Chunk() {
  if (!chunk_) {
    ownChunk_.reset(new (std::nothrow) HitRecord[static_cast<size_t>(kHitsPerChunk)]);
    chunk_ = ownChunk_.get();
  }
  return chunk_;
}

bool HitFile::Time(int64_t index, int32_t* t) {
  if (index < 0 || index >= count_) return false;
  if (index >= tailStart_) {
    *t = tail_[static_cast<size_t>(index - tailStart_)].time;
    return true;
  }
  return file_.Seek(index * kHitSize + 12) && file_.Read(t, sizeof *t);
}

bool HitFile::ReadHits(int64_t index, int64_t n, HitRecord* out) {
  if (index < 0 || n < 0 || index + n > count_) return false;
  if (index >= tailStart_) {
    std::memcpy(out, tail_ + (index - tailStart_), static_cast<size_t>(n) * sizeof *out);
    return true;
  }
  return file_.Seek(index * kHitSize) && file_.Read(out, static_cast<size_t>(n * kHitSize));
}

bool HitFile::First(int32_t* t) {
  return Time(0, t);
}

int64_t HitFile::FindTime(int32_t t) {
  int32_t first = 0, last = 0;
  if (count_ == 0 || !First(&first) || t < first) return 0;
  if (!Time(count_ - 1, &last)) return 0;
  if (t > last) return count_;
  int64_t lo = 0, hi = count_, m = 0;
  while (lo < hi) {
    int64_t k = (lo + hi) / 2;
    if (k == m) break;
    m = k;
    int32_t tm = 0;
    if (!Time(m, &tm)) break;
    if (tm < t)
      lo = m;
    else
      hi = m;
  }
  return m;
}

int64_t HitFile::LowerBound(int32_t t) {
  if (count_ == 0) return 0;
  const HitRecord* tail = tail_;
  int64_t inTail = count_ - tailStart_;
  if (t > tail[inTail - 1].time) return count_;
  if (t > tail[0].time) {
    const HitRecord* at = std::lower_bound(
        tail, tail + inTail, t, [](const HitRecord& h, int32_t v) { return h.time < v; });
    return tailStart_ + (at - tail);
  }
  int32_t first = 0;
  if (tailStart_ == 0 || !First(&first) || t <= first) return 0;
  return SearchFile(t, tailStart_, tail[0].time);
}

// The search before the tail, with time(0) < t <= time(hi) = thi. Each probe reads a window of
// records at once: where the plays spread evenly, the first guess, interpolated between the
// known times, usually holds the answer; every other probe halves the range, so a damaged or
// uneven file still takes no more than about 2 log2(n) reads.
int64_t HitFile::SearchFile(int32_t t, int64_t hi, int32_t thi) {
  int64_t lo = 0;
  int32_t tlo = 0;
  First(&tlo);
  HitRecord window[kSearchWindow];
  for (int probe = 0; hi - lo > 1; ++probe) {
    int64_t guess = lo + (hi - lo) / 2;
    if (probe % 2 == 0 && thi > tlo)
      guess = lo + static_cast<int64_t>(static_cast<double>(hi - lo) * (int64_t{t} - tlo) /
                                        (int64_t{thi} - tlo));
    int64_t start = std::clamp(guess - kSearchWindow / 2, lo + 1, hi - 1);
    int64_t n = std::min(kSearchWindow, hi - start);
    if (!ReadHits(start, n, window)) return hi;
    if (window[0].time >= t) {
      hi = start, thi = window[0].time;
    } else if (window[n - 1].time < t) {
      lo = start + n - 1, tlo = window[n - 1].time;
    } else {
      for (int64_t i = 1; i < n; ++i)
        if (window[i].time >= t) return start + i;
    }
  }
  return hi;
}

HitRange HitFile::Locate(int32_t from, int32_t to) {
  HitRange r;
  if (count_ == 0 || from >= to) return r;
  r.start = LowerBound(from);
  r.end = std::max(LowerBound(to), r.start);
  return r;
}

}  // namespace spinox::hitlist_detail
