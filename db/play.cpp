#include "db/play.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/replace_file.h"
#include "base/text.h"
#include "db/convert_text.h"
#include "db/journal.h"
#include "db/lookup.h"
#include "db/paths.h"
#include "db/record_io.h"
#include "db/text_encoding.h"

namespace spinox {

namespace {

constexpr int64_t kDaySeconds = 86400;
constexpr int64_t kWeekSeconds = 604800;
constexpr int64_t kMonthSeconds = 2592000;
constexpr int64_t kYearSeconds = 31536000;

// Starts of the counting windows; a play exactly at a start counts. Kept wide so that a time
// near the end of the 32-bit range cannot overflow.
struct Windows {
  explicit Windows(int64_t now)
      : day(now - kDaySeconds),
        week(now - kWeekSeconds),
        month(now - kMonthSeconds),
        year(now - kYearSeconds) {}
  int64_t day, week, month, year;
};

// The lookups treat the names as C strings; a field filled to its last byte is cut there so
// that no comparison runs on into the next field.
void TerminateTexts(SongInfo* info) {
  info->artist[kNameSize - 1] = 0;
  info->title[kNameSize - 1] = 0;
  info->album[kNameSize - 1] = 0;
  info->file[kPathSize - 1] = 0;
}

void ResetCounters(SongInfo* info) {
  info->hits = info->hitsDay = info->hitsWeek = info->hitsMonth = info->hitsYear = 0;
  info->hitsAlbum = info->hitsArtist = 0;
  info->lastPlayed = 0;
}

// The plays of one song, its album and its artist, counted in locals so that the pass over
// the hit file stays in registers. An id of none in the SongInfo becomes a key that no stored
// 32-bit id equals, since a removed play must never count.
struct Tally {
  Tally(const SongInfo& info, int64_t now)
      : song(Key(info.songId)),
        artist(Key(info.artistId)),
        album(Key(info.albumId)),
        windows(now) {}

  static uint64_t Key(RecId id) { return id == kNoId ? uint64_t{1} << 32 : id; }

  void Add(const HitRecord& h) {
    hitsArtist += h.artistId == artist;
    hitsAlbum += h.albumId == album;
    if (h.songId != song) return;
    lastPlayed = h.time;
    ++hits;
    if (h.time < windows.year) return;
    ++hitsYear;
    if (h.time < windows.month) return;
    ++hitsMonth;
    if (h.time < windows.week) return;
    ++hitsWeek;
    if (h.time >= windows.day) ++hitsDay;
  }

  void StoreInto(SongInfo* info) const {
    info->hits = hits;
    info->hitsDay = hitsDay;
    info->hitsWeek = hitsWeek;
    info->hitsMonth = hitsMonth;
    info->hitsYear = hitsYear;
    info->hitsAlbum = hitsAlbum;
    info->hitsArtist = hitsArtist;
    info->lastPlayed = lastPlayed;
  }

  uint64_t song, artist, album;
  Windows windows;
  int32_t hits = 0, hitsDay = 0, hitsWeek = 0, hitsMonth = 0, hitsYear = 0;
  int32_t hitsAlbum = 0, hitsArtist = 0, lastPlayed = 0;
};

// One pass over the hit file; false when it cannot be opened.
bool CountHits(SongInfo* info) {
  Tally tally(*info, GetTimeNow());
  File f(FullPath(kHitFile), "rb");
  if (!f.IsOpen()) return false;
  ScanRecords(f, sizeof(HitRecord), [&tally](const unsigned char* r, RecId) {
    HitRecord h;
    std::memcpy(&h, r, sizeof h);
    tally.Add(h);
    return false;
  });
  tally.StoreInto(info);
  return true;
}

// The deleted mark: the id and the two references of a record, all set to none.
const uint32_t kDeletedIds[3] = {kNoId, kNoId, kNoId};

// Marks every hit record of the song deleted: one pass to find them, then one write each.
bool MarkHitsDeleted(RecId songId) {
  std::string path = FullPath(kHitFile);
  File f;
  errno = 0;
  if (!f.Open(path, "r+b")) return errno == ENOENT || NoteIoFailure("open", path);
  std::vector<RecId> found;
  ScanRecords(f, sizeof(HitRecord), [&](const unsigned char* r, RecId index) {
    uint32_t id;
    std::memcpy(&id, r + offsetof(HitRecord, songId), sizeof id);
    if (id == songId) found.push_back(index);
    return false;
  });
  for (RecId hit : found) {
    if (!f.Seek(static_cast<int64_t>(hit) * sizeof(HitRecord)))
      return NoteIoFailure("seek in", path);
    if (!f.Write(kDeletedIds, sizeof kDeletedIds)) return false;
  }
  return f.Flush() && f.Close();
}

// The time of the last whole hit record, or `floor` when that is later or there is none.
int32_t LaterOfLastHit(int32_t floor) {
  File f(FullPath(kHitFile), "rb");
  RecId count = f.IsOpen() ? CountRecords(f, sizeof(HitRecord)) : 0;
  HitRecord last;
  int64_t pos = static_cast<int64_t>(count) * static_cast<int64_t>(sizeof last) - sizeof last;
  if (count > 0 && f.Seek(pos) && f.Read(&last, sizeof last) && last.time > floor) return last.time;
  return floor;
}

// The names under which a play's missing artist and album records are added: the track's own,
// or, for a track found through an alias, those of the song it counts for.
struct OwnerNames {
  std::string artist, album;
};

// A track found through an alias counts for the live song the alias names, with that song's
// album and artist, never with records of its old names.
void ResolveThroughAlias(SongInfo* info, OwnerNames* names) {
  SongRecord rec;
  int64_t at = static_cast<int64_t>(info->songId) * static_cast<int64_t>(sizeof rec);
  if (!ReadAt(kSongFile, at, &rec, sizeof rec)) return;
  names->artist = FieldText(rec.artist, kNameSize);
  names->album = FieldText(rec.album, kNameSize);
  info->artistId = rec.artistId != kNoId ? rec.artistId : FindArtist(names->artist.c_str());
  info->albumId =
      rec.albumId != kNoId ? rec.albumId : FindAlbum(names->album.c_str(), names->artist.c_str());
}

// Resolves the three names against the live records of the files (and the aliases of edits).
void ResolveIds(SongInfo* info, OwnerNames* names) {
  bool alias = false;
  info->songId = FindSong(info->title, info->album, info->artist, &alias);
  names->artist = info->artist;
  names->album = info->album;
  info->artistId = info->albumId = kNoId;
  if (alias) return ResolveThroughAlias(info, names);
  info->artistId = FindArtist(info->artist);
  info->albumId = FindAlbum(info->album, info->artist);
}

// A hit record that was written, or perhaps written, by a Hit that then failed. Its retry
// rewrites the same slot (id x 16) when the record is still there, so a play never counts
// twice; when the slot was cut back, it is free again and the retry appends there anyway.
struct PendingHit {
  bool set = false;
  std::string file;
  RecId slot = 0;
  HitRecord rec = {};
};
PendingHit gPending;

bool SameHit(const HitRecord& a, const HitRecord& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Writes the hit at its slot: the pending one's when that slot still holds it, else at the end.
// Sets gPending before writing and returns the slot, or kNoId.
RecId WriteHit(HitRecord* hit) {
  std::string path = FullPath(kHitFile);
  RecId slot = kNoId;
  if (gPending.set && gPending.file == path && gPending.rec.songId == hit->songId) {
    HitRecord there;
    int64_t at = static_cast<int64_t>(gPending.slot) * static_cast<int64_t>(sizeof there);
    if (ReadAt(kHitFile, at, &there, sizeof there) && SameHit(there, gPending.rec)) {
      *hit = gPending.rec;
      slot = gPending.slot;
    }
  }
  if (slot == kNoId) {
    hit->time = LaterOfLastHit(hit->time);
    File f(path, "rb");
    gPending = {true, path, f.IsOpen() ? CountRecords(f, sizeof *hit) : 0, *hit};
    return AppendRecord(kHitFile, hit, sizeof *hit, false);
  }
  return WriteInRecord(kHitFile, sizeof *hit, slot, 0, hit, sizeof *hit) ? slot : kNoId;
}

// Takes back a hit written by a Hit that failed afterwards.
void UnwriteHit(RecId slot) {
  File f;
  if (!f.Open(FullPath(kHitFile), "r+b") || CountRecords(f, sizeof(HitRecord)) != slot + 1) return;
  std::string error = LastIoError();
  if (f.Truncate(static_cast<int64_t>(slot) * sizeof(HitRecord))) gPending.set = false;
  SetIoError(error);
}

}  // namespace

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

bool FillSongInfo(SongInfo* info) {
  TerminateTexts(info);
  ResetCounters(info);
  info->songId = info->artistId = info->albumId = kNoId;
  info->playTime = ClockNow();
  {
    DatabaseLock lock(LockKind::kShared);
    if (!lock.held()) return false;
    OwnerNames names;
    ResolveIds(info, &names);
    info->playTime = GetTimeNow();
    if (info->artistId == kNoId || !CountHits(info)) return true;
  }
  if (info->songId == kNoId) return true;
  // The stored path follows the track to wherever it was last played from. Another process
  // at work is not waited for, nor is a read-only song file written: the next resolving of the
  // track stores the path.
  if (!ReplaceRefusal(FullPath(kSongFile)).empty()) return true;
  if (StoredTextEncoding() != TextEncoding::kUtf8) return true;  // converted at the next play
  DatabaseLock lock(LockKind::kExclusive, 0);
  return !lock.held() || WriteInRecord(kSongFile, sizeof(SongRecord), info->songId,
                                       offsetof(SongRecord, file), info->file, kPathSize);
}

// Under the lock the names are looked up again, since another process may have stored them (or
// replaced the database) since FillSongInfo, and the time is taken no earlier than the last
// hit's. Each step stores its id in `info` as soon as its record is written, so a call that
// fails part-way can be repeated and adds only what is still missing.
bool Hit(SongInfo* info) {
  // A play that comes in while this process is in the middle of a change (a timer tick inside
  // a dialog) would land in its staged copies; it waits for a later tick instead.
  if (ChangeOpen()) return SetIoError("the database is being changed; try again"), false;
  // UTF-8 names never go into an earlier version's database: it is converted first, and the
  // play waits when it cannot be now.
  if (EnsureUtf8Database() == TextConversion::kFailed) return false;
  DatabaseLock lock(LockKind::kExclusive);
  if (!lock.held()) return false;
  TerminateTexts(info);
  OwnerNames names;
  ResolveIds(info, &names);
  if (info->artistId == kNoId) info->artistId = AddArtist(names.artist.c_str());
  if (info->artistId == kNoId) return false;
  if (info->albumId == kNoId) info->albumId = AddAlbum(names.album.c_str(), names.artist.c_str());
  if (info->albumId == kNoId) return false;
  if (info->songId == kNoId && AddSong(info) == kNoId) return false;
  if (!MendSongIds(*info)) return false;
  HitRecord hit = {info->songId, info->artistId, info->albumId, info->playTime};
  RecId slot = WriteHit(&hit);
  if (slot == kNoId) return false;
  // A play whose song does not show it as its latest is not recorded: the hit goes again.
  if (!WriteInRecord(kSongFile, sizeof(SongRecord), info->songId, offsetof(SongRecord, lastPlayed),
                     &hit.time, sizeof hit.time)) {
    UnwriteHit(slot);
    return false;
  }
  gPending.set = false;
  info->playTime = hit.time;
  return true;
}

RecId AddArtist(const char* name) {
  ArtistRecord rec = {};
  SetField(rec.name, name);
  return AppendRecord(kArtistFile, &rec, sizeof rec, true);
}

RecId AddAlbum(const char* album, const char* artist) {
  AlbumRecord rec = {};
  SetField(rec.album, album);
  SetField(rec.artist, artist);
  return AppendRecord(kAlbumFile, &rec, sizeof rec, true);
}

// The texts are stored as the whole fixed-width fields of the SongInfo.
RecId AddSong(SongInfo* info) {
  SongRecord rec = {};
  rec.artistId = info->artistId;
  rec.albumId = info->albumId;
  std::memcpy(rec.title, info->title, kNameSize);
  std::memcpy(rec.artist, info->artist, kNameSize);
  std::memcpy(rec.album, info->album, kNameSize);
  std::memcpy(rec.file, info->file, kPathSize);
  rec.lastPlayed = info->playTime;
  info->songId = AppendRecord(kSongFile, &rec, sizeof rec, true);
  return info->songId;
}

// The song's names, path and lastPlayed stay, and every hit record keeps its time, so the hit
// file keeps its length and order. The song file and the hit file change together.
bool RemoveFromDatabase(RecId songId) {
  if (songId == kNoId) return true;
  if (EnsureUtf8Database() == TextConversion::kFailed) return false;
  Change change;
  change.Stage(kSongFile, Change::From::kCopy);
  change.Stage(kHitFile, Change::From::kCopy);
  uint32_t own = kNoId;
  if (change.ok() &&
      ReadAt(kSongFile, static_cast<int64_t>(songId) * sizeof(SongRecord), &own, sizeof own) &&
      own == kNoId)
    return SetIoError("the song was already removed"), false;
  if (!change.ok() ||
      !WriteInRecord(kSongFile, sizeof(SongRecord), songId, 0, kDeletedIds, sizeof kDeletedIds) ||
      !MarkHitsDeleted(songId))
    return false;
  return change.Commit();
}

// The last whole hit record holds the latest play time; a torn tail is ignored.
int32_t GetTimeNow() {
  return LaterOfLastHit(ClockNow());
}

}  // namespace spinox
