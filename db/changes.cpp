// Keeping resolved songs true to the files: the count of changes that retire or move ids, and
// the mending of song records stored without album or artist ids.
#include <cstddef>
#include <cstring>

#include "db/database.h"
#include "db/record_io.h"

namespace spinox {

namespace {

uint32_t gChanges = 0;

}  // namespace

uint32_t DatabaseChanges() {
  return gChanges;
}

void NoteDatabaseChange() {
  ++gChanges;
}

bool MendSongIds(const SongInfo& info) {
  SongRecord rec;
  int64_t at = static_cast<int64_t>(info.songId) * static_cast<int64_t>(sizeof rec);
  if (info.songId == kNoId || !ReadAt(kSongFile, at, &rec, sizeof rec)) return false;
  if (rec.artistId != kNoId && rec.albumId != kNoId) return true;
  const uint32_t ids[2] = {rec.artistId == kNoId ? info.artistId : rec.artistId,
                           rec.albumId == kNoId ? info.albumId : rec.albumId};
  return WriteInRecord(kSongFile, sizeof rec, info.songId, offsetof(SongRecord, artistId), ids,
                       sizeof ids);
}

}  // namespace spinox
