// Lookups by name and single-field readers.
#include "db/lookup.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "base/text.h"
#include "db/paths.h"
#include "db/record_io.h"

namespace spinox {

namespace {

inline char Fold(unsigned char c) {
  return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
}

// Length of a stored name (its bytes up to the NUL, never past the field) when that name,
// lowercased, is the start of `want`; -1 otherwise. `want` is already lowercase.
int FoldedPrefix(const unsigned char* field, const char* want, size_t wantLen) {
  size_t i = 0;
  for (; i < static_cast<size_t>(kNameSize) && field[i]; ++i) {
    if (i >= wantLen || Fold(field[i]) != want[i]) return -1;
  }
  return static_cast<int>(i);
}

bool FoldedEquals(const unsigned char* field, const char* want, size_t wantLen) {
  return FoldedPrefix(field, want, wantLen) == static_cast<int>(wantLen);
}

// A lookup argument, lowercased into a copy of its own: the caller's text stays as given.
struct Key {
  explicit Key(const char* arg) : lower(arg ? arg : "") {
    MakeLower(lower.data());
    text = lower.c_str();
    len = lower.size();
  }
  std::string lower;
  const char* text;
  size_t len;
  bool Matches(const unsigned char* field) const { return FoldedEquals(field, text, len); }
};

// A record whose own id is none was removed or merged into another: lookups pass over it, so a
// later play of its names counts for the entry that holds them now (or starts a new one).
bool IsLive(const unsigned char* rec) {
  uint32_t id;
  std::memcpy(&id, rec, sizeof id);
  return id != kNoId;
}

template <typename Rec>
bool ReadRecord(const char* name, RecId id, Rec* rec) {
  return ReadAt(name, static_cast<int64_t>(id) * static_cast<int64_t>(sizeof(Rec)), rec,
                sizeof(Rec));
}

// "artist - album", as the album filter shows albums.
bool MatchesArtistDashAlbum(const unsigned char* rec, const Key& key) {
  int k = FoldedPrefix(rec + offsetof(AlbumRecord, artist), key.text, key.len);
  if (k < 0 || key.len - k < 3 || std::memcmp(key.text + k, " - ", 3) != 0) return false;
  return FoldedEquals(rec + offsetof(AlbumRecord, album), key.text + k + 3, key.len - k - 3);
}

}  // namespace

RecId FindArtist(const char* name) {
  File f(FullPath(kArtistFile), "rb");
  if (!f.IsOpen()) return kNoId;
  Key key(name);
  return ScanRecords(f, sizeof(ArtistRecord), [&](const unsigned char* r, RecId) {
    return IsLive(r) && key.Matches(r + offsetof(ArtistRecord, name));
  });
}

RecId FindAlbum(const char* album, const char* artist) {
  File f(FullPath(kAlbumFile), "rb");
  if (!f.IsOpen()) return kNoId;
  Key albumKey(album), artistKey(artist);
  return ScanRecords(f, sizeof(AlbumRecord), [&](const unsigned char* r, RecId) {
    return IsLive(r) && albumKey.Matches(r + offsetof(AlbumRecord, album)) &&
           artistKey.Matches(r + offsetof(AlbumRecord, artist));
  });
}

RecId FindAlbumBoth(const char* artistDashAlbum) {
  File f(FullPath(kAlbumFile), "rb");
  if (!f.IsOpen()) return kNoId;
  Key key(artistDashAlbum);
  return ScanRecords(f, sizeof(AlbumRecord), [&](const unsigned char* r, RecId) {
    return IsLive(r) && MatchesArtistDashAlbum(r, key);
  });
}

namespace {

// The first live song of those names, or else the target of the first alias of those names.
RecId ScanSongs(const char* title, const char* album, const char* artist, bool* alias) {
  *alias = false;
  File f(FullPath(kSongFile), "rb");
  if (!f.IsOpen()) return kNoId;
  Key titleKey(title), albumKey(album), artistKey(artist);
  RecId target = kNoId;
  RecId live = ScanRecords(f, sizeof(SongRecord), [&](const unsigned char* r, RecId) {
    if (!titleKey.Matches(r + offsetof(SongRecord, title)) ||
        !artistKey.Matches(r + offsetof(SongRecord, artist)) ||
        !albumKey.Matches(r + offsetof(SongRecord, album)))
      return false;
    if (IsLive(r)) return true;
    SongRecord rec;
    std::memcpy(&rec, r, offsetof(SongRecord, title));
    if (target == kNoId && IsAlias(rec)) target = rec.albumId;
    return false;
  });
  if (live != kNoId || target == kNoId) return live;
  *alias = true;
  return target;
}

}  // namespace

RecId FindLiveSong(const char* title, const char* album, const char* artist) {
  bool alias;
  RecId id = ScanSongs(title, album, artist, &alias);
  return alias ? kNoId : id;
}

RecId FindSong(const char* title, const char* album, const char* artist, bool* throughAlias) {
  bool alias;
  RecId id = ScanSongs(title, album, artist, &alias);
  if (throughAlias) *throughAlias = alias;
  if (!alias) return id;
  RecId live = FollowAlias(id);
  if (throughAlias) *throughAlias = live != kNoId;
  return live;
}

RecId FollowAlias(RecId target) {
  // An alias leads to a live song, perhaps through the aliases of later edits; a target that
  // was removed (or is past the end) leads nowhere, and the play starts a new entry.
  for (int hop = 0; hop < kAliasHops; ++hop) {
    SongRecord rec;
    if (!ReadRecord(kSongFile, target, &rec)) break;
    if (rec.id == target) return target;
    if (!IsAlias(rec)) break;
    target = rec.albumId;
  }
  return kNoId;
}

RecId GetSongAlbum(RecId songId) {
  SongRecord rec;
  return ReadRecord(kSongFile, songId, &rec) ? rec.albumId : kNoId;
}

RecId GetSongArtist(RecId songId) {
  SongRecord rec;
  return ReadRecord(kSongFile, songId, &rec) ? rec.artistId : kNoId;
}

RecId GetAlbumArtist(RecId albumId) {
  AlbumRecord rec;
  if (!ReadRecord(kAlbumFile, albumId, &rec)) return kNoId;
  char artist[kNameSize + 1] = {};
  std::memcpy(artist, rec.artist, kNameSize);
  return FindArtist(artist);
}

namespace {

void ReadSongNames(RecId id, char* title, char* album, char* artist) {
  SongRecord rec;
  if (!ReadRecord(kSongFile, id, &rec)) return;
  CopyText(title, kNameSize, FieldText(rec.title).c_str());
  CopyText(album, kNameSize, FieldText(rec.album).c_str());
  CopyText(artist, kNameSize, FieldText(rec.artist).c_str());
}

void ReadAlbumNames(RecId id, char* album, char* artist) {
  AlbumRecord rec;
  if (!ReadRecord(kAlbumFile, id, &rec)) return;
  CopyText(album, kNameSize, FieldText(rec.album).c_str());
  CopyText(artist, kNameSize, FieldText(rec.artist).c_str());
}

void ReadArtistName(RecId id, char* artist) {
  ArtistRecord rec;
  if (ReadRecord(kArtistFile, id, &rec)) CopyText(artist, kNameSize, FieldText(rec.name).c_str());
}

}  // namespace

// A record that cannot be read (missing file, id past the end) leaves all three texts empty.
void GetSongInfo(RecId id, int kind, char* title, char* album, char* artist) {
  CopyText(title, kNameSize, "");
  CopyText(album, kNameSize, "");
  CopyText(artist, kNameSize, "");
  if (kind == 0 || kind == 3) {
    ReadSongNames(id, title, album, artist);
  } else if (kind == 1) {
    ReadAlbumNames(id, album, artist);
  } else {
    ReadArtistName(id, artist);
  }
}

}  // namespace spinox
