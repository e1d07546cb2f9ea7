#include "hitlist/engine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/player.h"
#include "base/text.h"
#include "db/lock.h"
#include "db/lookup.h"
#include "db/paths.h"
#include "db/record_io.h"
#include "hitlist/engine_internal.h"
#include "hitlist/hit_file.h"
#include "hitlist/playlist_scan.h"

namespace spinox {

using hitlist_detail::HitFile;
using hitlist_detail::HitRange;
using hitlist_detail::RecordFileOf;
using hitlist_detail::RecordSizeOf;
using hitlist_detail::Working;

namespace {

int32_t ClampTime(int64_t t) {
  if (t < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (t > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(t);
}

// The hit field that names the listed record.
uint32_t HitRecord::*FieldOf(int32_t type) {
  if (type == kListAlbums) return &HitRecord::albumId;
  if (type == kListArtists) return &HitRecord::artistId;
  return &HitRecord::songId;
}

// Whole records of the list type's file, capped; -1 when there is no such file.
int32_t ListRecordCount(int32_t type) {
  int64_t size = hitlist_detail::PathSize(FullPath(RecordFileOf(type)));
  if (size < 0) return -1;
  return static_cast<int32_t>(
      std::min<int64_t>(size / static_cast<int64_t>(RecordSizeOf(type)), kMaxListRecords));
}

// Adds the plays of the range to the counters of the records they name. Under the playlist
// filter the main pass counts down from -1 (the scan turns playlist entries positive), and
// the comparison pass counts up from 0 the plays of the records `marks` flags.
void CountPlays(HitFile& h, HitRange r, int32_t type, bool playlist, int32_t mode,
                const std::vector<char>* marks, Working* w) {
  uint32_t HitRecord::*field = FieldOf(type);
  uint32_t bound = static_cast<uint32_t>(w->records);
  int32_t* hits = w->hits;
  if (playlist && mode != kPosComparisonPass) {
    h.ForEach(r, [&](const HitRecord& hit) {
      if (hit.*field < bound) --hits[hit.*field];
    });
    return;
  }
  if (playlist) bound = static_cast<uint32_t>(std::min<size_t>(marks ? marks->size() : 0, bound));
  if (bound == 0) return;
  const char* marked = playlist ? marks->data() : nullptr;
  int32_t* touched = w->touched;
  int32_t n = w->touchedCount;
  if (marked || r.end - r.start < bound) {
    h.ForEach(r, [&](const HitRecord& hit) {
      uint32_t id = hit.*field;
      if (id >= bound || (marked && !marked[id])) return;
      if (hits[id]++ == 0) touched[n++] = static_cast<int32_t>(id);
    });
  } else {  // more plays than records: count first, then collect the played ones at once
    h.ForEach(r, [&](const HitRecord& hit) {
      if (hit.*field < bound) ++hits[hit.*field];
    });
    for (uint32_t id = 0; id < bound; ++id)
      if (hits[id] != 0) touched[n++] = static_cast<int32_t>(id);
  }
  w->touchedCount = n;
}

// A record's 50-byte name field, lowercased, into a NUL-terminated buffer.
void LowerName(const unsigned char* field, char (&out)[kNameSize + 1]) {
  std::memcpy(out, field, kNameSize);
  out[kNameSize] = '\0';
  MakeLower(out);
}

// One past the highest record that a filter may have to clear: counters that no play touched
// are 0 already (unless every entry is a candidate), so the record file's scan can stop there.
int32_t PlayedBound(const Working& w) {
  if (w.dense) return w.records;
  int32_t bound = 0;
  for (int32_t i = 0; i < w.touchedCount; ++i) {
    int32_t id = w.touched[i];
    if (id < w.records && w.hits[id] != 0) bound = std::max(bound, id + 1);
  }
  return bound;
}

// Keeps only the songs of the album the filter names; a name not in the database filters
// nothing.
void ApplyAlbumFilter(const char* filterValue, Working* w) {
  RecId album = FindAlbumBoth(filterValue);
  if (album == kNoId || w->records == 0) return;
  RecId records = static_cast<RecId>(PlayedBound(*w));
  if (records == 0) return;
  File f(FullPath(kSongFile), "rb");
  if (!f.IsOpen()) return;
  std::setvbuf(f.get(), nullptr, _IONBF, 0);  // the scan reads whole chunks of its own
  ScanRecords(f, sizeof(SongRecord), [&](const unsigned char* rec, RecId i) {
    uint32_t albumId;
    std::memcpy(&albumId, rec + 8, sizeof albumId);
    if (albumId != album && i < records) w->hits[i] = 0;
    return i + 1 >= records;
  });
}

// Keeps only the songs or albums whose artist text is the filter's name (the match is by
// name, not by id, so songs stored before their artist record still match).
void ApplyArtistFilter(int32_t type, const char* filterValue, Working* w) {
  RecId artist = FindArtist(filterValue);
  if (artist == kNoId || w->records == 0) return;
  std::string wanted = filterValue;
  MakeLower(&wanted[0]);
  RecId records = static_cast<RecId>(PlayedBound(*w));
  if (records == 0) return;
  File f(FullPath(RecordFileOf(type)), "rb");
  if (!f.IsOpen()) return;
  std::setvbuf(f.get(), nullptr, _IONBF, 0);
  size_t offset = type == kListSongs ? 62 : 54;
  ScanRecords(f, RecordSizeOf(type), [&](const unsigned char* rec, RecId i) {
    char name[kNameSize + 1];
    LowerName(rec + offset, name);
    if (i < records && wanted != name) w->hits[i] = 0;
    return i + 1 >= records;
  });
}

// Builds the counters of a top list (types 0..2) of `records` records for the query's period,
// in `memory` (2 * records counters). Under the playlist filter the first `length` entries of
// the player's playlist are scanned.
void BuildCounts(HitFile& h, const HitListQuery& q, int32_t records, int32_t length,
                 int32_t* memory, const std::vector<char>* marks, Working* w) {
  bool playlist = q.filterType == kFilterPlaylist;
  bool scan = playlist && q.mode != kPosComparisonPass;
  w->Init(memory, records, scan ? -1 : 0);
  w->dense = scan;
  CountPlays(h, h.Locate(q.from, q.to), q.type, playlist, q.mode, marks, w);
  if (scan) hitlist_detail::ScanPlaylist(q.type, length, w, q.progress);
  if (q.filterValue && q.filterType == kFilterAlbum && q.type == kListSongs)
    ApplyAlbumFilter(q.filterValue, w);
  if (q.filterValue && q.filterType == kFilterArtist && q.type != kListArtists)
    ApplyArtistFilter(q.type, q.filterValue, w);
}

// The first min(k, count) entries of the list: the most played first, in order. Only the
// records that were played can rank by plays; when fewer than k were, records without plays
// (in id order) fill the list, as equal counts come in no particular order. Reorders the
// touched entries.
std::vector<HitListItem> TopItems(Working* w, int32_t k) {
  int32_t count = w->count();
  k = std::min(k, count);
  int32_t* entries = w->touched;
  int32_t n = w->touchedCount;
  if (w->dense) {
    for (n = 0; n < count; ++n) entries[n] = n;
  }
  if (n < k) {
    std::vector<char> listed(static_cast<size_t>(count), 0);
    for (int32_t i = 0; i < n; ++i) listed[static_cast<size_t>(entries[i])] = 1;
    for (int32_t i = 0; i < count && n < k; ++i)
      if (!listed[static_cast<size_t>(i)]) entries[n++] = i;
  }
  const int32_t* hits = w->hits;
  auto more = [hits](int32_t a, int32_t b) { return hits[a] > hits[b]; };
  if (k < n) std::nth_element(entries, entries + k, entries + n, more);
  std::sort(entries, entries + k, more);
  std::vector<HitListItem> items(static_cast<size_t>(k));
  for (int32_t i = 0; i < k; ++i)
    items[static_cast<size_t>(i)] = {w->Id(entries[i]), hits[entries[i]], -1};
  return items;
}

// The previous positions by record id (into pos, `count` entries) of the records played in
// the period before the query's: the top n of that period's list, -1 elsewhere. `memory` holds
// 2 * count counters.
void PreviousPositions(HitFile& h, const Working& w, int32_t n, const HitListQuery& q,
                       int32_t* memory, int32_t* pos) {
  int32_t count = w.count();
  std::vector<char> marks;
  if (q.filterType == kFilterPlaylist) {
    marks.assign(static_cast<size_t>(count), 0);
    for (int32_t i = 0; i < count; ++i) {
      int32_t id = w.Id(i);
      if (w.hits[i] > 0 && id >= 0 && id < count) marks[static_cast<size_t>(id)] = 1;
    }
  }
  Working prev;
  HitListQuery before = q;
  before.from = ClampTime(static_cast<int64_t>(q.from) - (static_cast<int64_t>(q.to) - q.from));
  before.to = q.from;
  before.mode = kPosComparisonPass;
  before.progress = nullptr;
  BuildCounts(h, before, count, 0, memory, &marks, &prev);
  std::fill(pos, pos + count, -1);
  std::vector<HitListItem> top = TopItems(&prev, n);
  for (size_t r = 0; r < top.size(); ++r) {
    if (top[r].hits > 0 && top[r].id >= 0 && top[r].id < count)
      pos[top[r].id] = static_cast<int32_t>(r);
  }
}

// Copies the first min(n, c) items out and ends the list with id -1 up to n.
int32_t Output(const std::vector<HitListItem>& work, int32_t c, HitListItem* items, int32_t n) {
  int32_t k = std::min(n, c);
  if (k > 0) std::memcpy(items, work.data(), static_cast<size_t>(k) * sizeof(HitListItem));
  for (int32_t i = std::max(c, 0); i < n; ++i) items[i].id = -1;
  return k;
}

// The log: the latest plays of the period, latest first, at most n.
int32_t LogList(const HitListQuery& q, HitListItem* items, int32_t n) {
  const char* filterValue = q.filterValue;
  int32_t filterType = q.filterType;
  HitFile h;
  // The latest n plays are all the unfiltered log needs; a filter reads further back in
  // growing chunks.
  if (!h.Open(nullptr, n)) return 0;
  bool filtered = filterValue && (filterType == kFilterArtist || filterType == kFilterAlbum);
  uint32_t HitRecord::*field = &HitRecord::artistId;
  RecId filterId = kNoId;
  if (filtered && filterType == kFilterArtist) filterId = FindArtist(filterValue);
  if (filtered && filterType == kFilterAlbum) {
    field = &HitRecord::albumId;
    filterId = FindAlbumBoth(filterValue);
  }
  std::vector<HitListItem> work;
  work.reserve(static_cast<size_t>(std::min<int64_t>(n, h.count())));
  if (n > 0 && !(filtered && filterId == kNoId)) {
    h.ForEachBackwards(q.from, q.to, [&](const HitRecord& hit) {
      if (hit.songId == kNoId || (filtered && hit.*field != filterId)) return false;
      work.push_back(HitListItem{static_cast<int32_t>(hit.songId), hit.time, -1});
      return static_cast<int32_t>(work.size()) >= n;
    });
  }
  return Output(work, static_cast<int32_t>(work.size()), items, n);
}

}  // namespace

namespace hitlist_detail {

const char* RecordFileOf(int32_t type) {
  if (type == kListAlbums) return kAlbumFile;
  if (type == kListArtists) return kArtistFile;
  return kSongFile;
}

size_t RecordSizeOf(int32_t type) {
  if (type == kListAlbums) return sizeof(AlbumRecord);
  if (type == kListArtists) return sizeof(ArtistRecord);
  return sizeof(SongRecord);
}

}  // namespace hitlist_detail

void hitlist_detail::Working::Init(int32_t* memory, int32_t recordCount, int32_t start) {
  records = recordCount;
  hits = memory;
  touched = memory + recordCount;
  touchedCount = 0;
  std::fill(hits, hits + recordCount, start);
}

namespace {

// Hides the progress bar when the computation ends, whichever way.
struct ProgressEnd {
  HitListProgress* progress;
  ~ProgressEnd() {
    if (progress) progress->End();
  }
};

}  // namespace

int32_t GetHitList(const HitListQuery& q, HitListItem* items, int32_t n) {
  n = std::max(n, 0);
  int32_t type = q.type, mode = q.mode;
  // The lists combine several record files: another process's change must not be half seen.
  // Every list only reads (the playlist filter too), so the lock is shared.
  DatabaseLock lock(LockKind::kShared);
  if (!lock.held()) return 0;
  if (type == kListLog) return LogList(q, items, n);
  if (type < kListSongs || type > kListLog) return 0;
  bool playlist = q.filterType == kFilterPlaylist;
  bool scan = playlist && mode != kPosComparisonPass;
  ProgressEnd end{scan ? q.progress : nullptr};
  std::vector<char> marks;
  if (mode == kPosComparisonPass && playlist) {
    marks.resize(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) marks[static_cast<size_t>(i)] = items[i].hits != 0;
  }
  int32_t records = ListRecordCount(type);
  int32_t length = 0;
  if (scan && CurrentPlayer())
    length = std::clamp(CurrentPlayer()->PlaylistLength(), 0, kMaxListRecords);
  if (end.progress) end.progress->Begin(length);
  if (records < 0) return 0;
  // The whole working memory in one block (one allocation, which the C run-time can reuse from
  // one computation to the next): the hit file's last plays and read chunk, then the counters
  // of this pass and, for a comparison, of the previous one and the previous positions.
  size_t counters = (mode == kPosCompare ? 5 : 2) * static_cast<size_t>(records);
  size_t hitBytes = static_cast<size_t>(HitFile::kStorage) * sizeof(HitRecord);
  std::unique_ptr<void, void (*)(void*)> block(std::malloc(hitBytes + counters * sizeof(int32_t)),
                                               std::free);
  if (!block) return 0;
  HitFile h;
  if (!h.Open(static_cast<HitRecord*>(block.get()))) return 0;
  int32_t* memory = reinterpret_cast<int32_t*>(static_cast<unsigned char*>(block.get()) + hitBytes);
  Working w;
  BuildCounts(h, q, records, length, memory, &marks, &w);
  std::vector<HitListItem> top = TopItems(&w, n);
  int32_t* prev = nullptr;
  if (mode == kPosCompare) {
    prev = memory + 4 * static_cast<size_t>(records);
    PreviousPositions(h, w, n, q, memory + 2 * static_cast<size_t>(records), prev);
  }
  int32_t k = Output(top, w.count(), items, n);
  for (int32_t i = 0; i < k && prev; ++i) {
    int32_t id = items[i].id;
    if (id < 0 || id >= w.count()) continue;
    if (prev[id] >= 0) items[i].lastPos = prev[id];
  }
  return k;
}

int32_t FindTime(int32_t t) {
  HitFile h;
  if (!h.Open()) return 0;
  return static_cast<int32_t>(std::min<int64_t>(h.FindTime(t), INT32_MAX));
}

int CompareHitListItems(const void* a, const void* b) {
  int32_t x = static_cast<const HitListItem*>(a)->hits;
  int32_t y = static_cast<const HitListItem*>(b)->hits;
  return x > y ? -1 : (x < y ? 1 : 0);
}

int ResortHitlist(const void* a, const void* b) {
  int32_t x = static_cast<const HitListItem*>(a)->id;
  int32_t y = static_cast<const HitListItem*>(b)->id;
  return x < y ? -1 : (x > y ? 1 : 0);
}

int CompareInt(const void* a, const void* b) {
  int32_t x = *static_cast<const int32_t*>(a);
  int32_t y = *static_cast<const int32_t*>(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

}  // namespace spinox
