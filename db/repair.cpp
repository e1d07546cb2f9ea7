// The repair: only what the records determine. A torn tail is never part of the data (no reader
// sees it), and an id missing from a song or a play is filled only from the one record its names
// or its song name.
#include "db/repair.h"

#include <cstddef>
#include <cstring>

#include "base/file.h"
#include "db/check.h"
#include "db/check_internal.h"
#include "db/journal.h"
#include "db/lock.h"
#include "db/paths.h"

namespace spinox {

namespace {

void CutTornTails(RepairReport* out) {
  static const struct {
    const char* name;
    size_t recSize;
  } kFiles[] = {{kSongFile, sizeof(SongRecord)},
                {kAlbumFile, sizeof(AlbumRecord)},
                {kArtistFile, sizeof(ArtistRecord)},
                {kHitFile, sizeof(HitRecord)}};
  for (const auto& file : kFiles) {
    std::string path = FullPath(file.name);
    if (KindOf(path) != PathKind::kFile) continue;
    File f(path, "r+b");
    int64_t size = f.Size();
    int64_t torn = size > 0 ? size % static_cast<int64_t>(file.recSize) : 0;
    if (torn == 0) continue;
    if (f.Truncate(size - torn))
      out->done.push_back("cut the " + std::to_string(torn) + " bytes of a torn record off " +
                          path);
    else
      out->failed.push_back(LastIoError());
  }
}

// Walks the first `count` records of a record file with `edit(record, index)`, which returns
// true when it changed the record; each changed run of a chunk is written back in place.
template <typename Rec, typename Edit>
bool Rewrite(const char* name, int64_t count, Edit edit) {
  File f(FullPath(name), "r+b");
  if (!f.IsOpen()) return false;
  int64_t perChunk = static_cast<int64_t>(kScanChunk / sizeof(Rec));
  if (count < perChunk) perChunk = count > 0 ? count : 1;
  std::vector<Rec> buf(static_cast<size_t>(perChunk));
  for (int64_t first = 0; first < count; first += perChunk) {
    size_t n = static_cast<size_t>(count - first < perChunk ? count - first : perChunk);
    int64_t at = first * static_cast<int64_t>(sizeof(Rec));
    if (!f.Seek(at) || !f.Read(buf.data(), n * sizeof(Rec))) return false;
    size_t lo = n, hi = 0;
    for (size_t i = 0; i < n; ++i) {
      if (!edit(&buf[i], static_cast<RecId>(first + static_cast<int64_t>(i)))) continue;
      lo = lo < i ? lo : i;
      hi = i + 1;
    }
    if (lo < hi && (!f.Seek(at + static_cast<int64_t>(lo * sizeof(Rec))) ||
                    !f.Write(&buf[lo], (hi - lo) * sizeof(Rec)) || !f.Flush()))
      return false;
  }
  return true;
}

// "filled <what> of 3 songs in PATH", or why it could not be written.
void Report(bool written, int64_t n, const std::string& what, const char* noun, const char* file,
            RepairReport* out) {
  if (written && n > 0)
    out->done.push_back("filled " + what + " of " + std::to_string(n) + " " + noun +
                        (n == 1 ? "" : "s") + " in " + RealPath(file));
  if (!written)
    out->failed.push_back("could not fill " + what + " in " + RealPath(file) + ": " +
                          FileErrorText(errno));
}

void FillSongIds(Tables* t, RepairReport* out) {
  int64_t filled = 0;
  bool written = Rewrite<SongRecord>(
      kSongFile, static_cast<int64_t>(t->songs.size()), [&](SongRecord* rec, RecId i) {
        if (rec->id != i) return false;
        RecId artist = rec->artistId == kNoId ? UniqueArtist(*t, NameKey(rec->artist)) : kNoId;
        RecId album = rec->albumId == kNoId
                          ? UniqueAlbum(*t, NameKey(rec->album), NameKey(rec->artist))
                          : kNoId;
        if (artist == kNoId && album == kNoId) return false;
        if (artist != kNoId) rec->artistId = t->songs[i].artistId = artist;
        if (album != kNoId) rec->albumId = t->songs[i].albumId = album;
        ++filled;
        return true;
      });
  Report(written, filled, "the missing album or artist ids", "song", kSongFile, out);
}

void FillHitIds(const Tables& t, int64_t hits, RepairReport* out) {
  int64_t filled = 0;
  bool written = Rewrite<HitRecord>(kHitFile, hits, [&](HitRecord* h, RecId) {
    if (h->songId >= t.songs.size()) return false;
    const SongIds& s = t.songs[h->songId];
    if (s.id != h->songId || !HitIdsMendable(t, *h, s)) return false;
    h->artistId = s.artistId;
    h->albumId = s.albumId;
    ++filled;
    return true;
  });
  Report(written, filled, "the album or artist ids of their songs", "play", kHitFile, out);
}

// The songs and the plays are changed together (db/journal.h): both or neither.
void FillIds(Tables* t, int64_t hits, RepairReport* out) {
  RepairReport filled;
  Change change;
  bool staged = change.ok() && change.Stage(kSongFile, Change::From::kCopy) &&
                change.Stage(kHitFile, Change::From::kCopy);
  if (staged) {
    FillSongIds(t, &filled);
    FillHitIds(*t, hits, &filled);
  }
  if (staged && filled.failed.empty() && change.Commit()) {
    out->done.insert(out->done.end(), filled.done.begin(), filled.done.end());
    return;
  }
  if (filled.failed.empty()) filled.failed.push_back(LastIoError());
  out->failed.insert(out->failed.end(), filled.failed.begin(), filled.failed.end());
}

}  // namespace

RepairReport RepairDatabase() {
  RepairReport out;
  std::string finished;
  if (ChangePending()) {
    if (RecoverDatabase(&finished)) {
      // One entry for each thing done (the report holds one line each).
      size_t from = 0;
      for (size_t eol; (eol = finished.find('\n', from)) != std::string::npos; from = eol + 1)
        if (eol > from) out.done.push_back(finished.substr(from, eol - from));
      if (from < finished.size()) out.done.push_back(finished.substr(from));
      if (finished.empty()) out.done.push_back("finished the change that was cut short");
    } else
      out.failed.push_back(LastIoError());
  }
  DatabaseLock lock(LockKind::kExclusive);
  if (!lock.held()) {
    out.failed.push_back(LastIoError());
    return out;
  }
  CutTornTails(&out);
  Tables t;
  CheckReport found = CheckDatabase(&t);
  if (found.count[static_cast<int>(CheckProblem::kMissingIds)] > 0) FillIds(&t, found.hits, &out);
  return out;
}

}  // namespace spinox
