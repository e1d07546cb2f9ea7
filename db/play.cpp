// Resolving a track against the record files, recording its plays, and removing a song.
#include <cstddef>
#include <cstring>
#include <vector>

#include "base/clock.h"
#include "base/text.h"
#include "db/database.h"
#include "db/record_io.h"

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
// that lowercasing never runs on into the next field.
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
void MarkHitsDeleted(RecId songId) {
  File f(FullPath(kHitFile), "r+b");
  if (!f.IsOpen()) return;
  std::vector<RecId> found;
  ScanRecords(f, sizeof(HitRecord), [&](const unsigned char* r, RecId index) {
    uint32_t id;
    std::memcpy(&id, r + offsetof(HitRecord, songId), sizeof id);
    if (id == songId) found.push_back(index);
    return false;
  });
  for (RecId hit : found) {
    if (f.Seek(static_cast<int64_t>(hit) * sizeof(HitRecord)))
      f.Write(kDeletedIds, sizeof kDeletedIds);
  }
  f.Flush();
}

}  // namespace

void FillSongInfo(SongInfo* info) {
  TerminateTexts(info);
  info->artistId = FindArtist(info->artist);
  info->albumId = FindAlbum(info->album, info->artist);
  info->songId = FindSong(info->title, info->album, info->artist);
  ResetCounters(info);
  info->playTime = GetTimeNow();
  if (info->artistId == kNoId || !CountHits(info)) return;
  if (info->songId == kNoId) return;
  // The stored path follows the track to wherever it was last played from.
  WriteInRecord(kSongFile, sizeof(SongRecord), info->songId, offsetof(SongRecord, file), info->file,
                kPathSize);
}

// Each step stores its id in `info` as soon as its record is written, so a call that fails
// part-way can be repeated and adds only what is still missing.
bool Hit(SongInfo* info) {
  if (info->artistId == kNoId) info->artistId = AddArtist(info->artist);
  if (info->artistId == kNoId) return false;
  if (info->albumId == kNoId) info->albumId = AddAlbum(info->album, info->artist);
  if (info->albumId == kNoId) return false;
  if (info->songId == kNoId && AddSong(info) == kNoId) return false;
  HitRecord hit = {info->songId, info->artistId, info->albumId, info->playTime};
  if (AppendRecord(kHitFile, &hit, sizeof hit, false) == kNoId) return false;
  WriteInRecord(kSongFile, sizeof(SongRecord), info->songId, offsetof(SongRecord, lastPlayed),
                &info->playTime, sizeof info->playTime);
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
// file keeps its length and order.
void RemoveFromDatabase(RecId songId) {
  if (songId == kNoId) return;
  WriteInRecord(kSongFile, sizeof(SongRecord), songId, 0, kDeletedIds, sizeof kDeletedIds);
  MarkHitsDeleted(songId);
}

// The last whole hit record holds the latest play time; a torn tail is ignored.
int32_t GetTimeNow() {
  int32_t now = ClockNow();
  File f(FullPath(kHitFile), "rb");
  RecId count = f.IsOpen() ? CountRecords(f, sizeof(HitRecord)) : 0;
  HitRecord last;
  int64_t pos = static_cast<int64_t>(count) * static_cast<int64_t>(sizeof last) - sizeof last;
  if (count > 0 && f.Seek(pos) && f.Read(&last, sizeof last) && last.time > now) now = last.time;
  return now;
}

}  // namespace spinox
