// What the check and the repair share: the records as the check holds them in memory.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/file.h"
#include "db/check.h"
#include "db/record_io.h"
#include "db/records.h"

namespace spinox {

// An album (album and artist names) or an artist (`first` only): its own id and names' keys.
struct NamedRecord {
  RecId id = kNoId;
  std::string first, second;
};

struct SongIds {
  RecId id, artistId, albumId;
};

struct Tables {
  std::vector<NamedRecord> artists, albums;
  std::vector<SongIds> songs;
  // Live records by their names' keys (album keys are album, NUL, artist); kNoId when several.
  std::unordered_map<std::string, RecId> artistByName, albumByNames;
  bool indexed = false;
};

// The one live artist (album) of these names' keys, or kNoId when there is none or several.
RecId UniqueArtist(Tables& t, const std::string& name);
RecId UniqueAlbum(Tables& t, const std::string& album, const std::string& artist);
// True when the play lacks an album or artist id its song has (naming a live record) and
// names no other.
bool HitIdsMendable(const Tables& t, const HitRecord& h, const SongIds& s);

// Checks the database, keeping the records it read in `tables`.
CheckReport CheckDatabase(Tables* tables);

// Calls visit(record bytes, index) for the first `count` records of an open file; false when a
// read fails.
template <typename Visit>
bool ScanAll(File& f, size_t recSize, int64_t count, Visit visit) {
  int64_t perChunk = static_cast<int64_t>(kScanChunk / recSize);
  if (count < perChunk) perChunk = count > 0 ? count : 1;
  std::unique_ptr<unsigned char[]> buf(new unsigned char[static_cast<size_t>(perChunk) * recSize]);
  if (!f.Seek(0)) return false;
  for (int64_t first = 0; first < count;) {
    int64_t n = count - first < perChunk ? count - first : perChunk;
    if (!f.Read(buf.get(), static_cast<size_t>(n) * recSize)) return false;
    for (int64_t i = 0; i < n; ++i)
      visit(buf.get() + static_cast<size_t>(i) * recSize, static_cast<RecId>(first + i));
    first += n;
  }
  return true;
}

}  // namespace spinox
