#include "db/edit.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/file.h"
#include "base/text.h"
#include "base/user.h"
#include "db/convert_text.h"
#include "db/journal.h"
#include "db/lookup.h"
#include "db/paths.h"
#include "db/play.h"
#include "db/record_io.h"

namespace spinox {

const char* const kEditRefusedText =
    "This entry is not stored in the database under an id of its own,\n"
    "so it cannot be edited. Nothing was changed.";
const char* const kEditRemovedText =
    "This entry was removed from the database or merged into another,\n"
    "so it cannot be edited. Nothing was changed.";

namespace {

constexpr const char* kCaptions[3] = {"Edit Song", "Edit Album", "Edit Artist"};

// A name as it is written into a record: at most 49 bytes, NUL-filled to 50.
struct Name {
  char text[kNameSize];
  explicit Name(const char* s) { CopyText(text, kNameSize, s ? s : ""); }
};

bool IsStored(const char* file, size_t recSize, RecId id) {
  if (id == kNoId) return false;
  File f(FullPath(file), "rb");
  return f.IsOpen() && id < CountRecords(f, recSize);
}

// Stored and not deleted (removed, or merged into another record).
bool IsLive(const char* file, size_t recSize, RecId id) {
  uint32_t own = kNoId;
  return IsStored(file, recSize, id) &&
         ReadAt(file, static_cast<int64_t>(id) * static_cast<int64_t>(recSize), &own, sizeof own) &&
         own != kNoId;
}

// Refuses an edit of an id that names no live record: kEditRefused, and the user is told why.
int Refuse(int kind, const char* file, size_t recSize, RecId id) {
  bool deleted = IsStored(file, recSize, id);
  CurrentUser().Tell(deleted ? kEditRemovedText : kEditRefusedText, kCaptions[kind]);
  return kEditRefused;
}

// Walks every whole record of a record file with `edit(record)`, which returns true when it
// changed the record; each changed run of a chunk is written back in place. Records appended
// meanwhile are not visited.
template <typename Rec, typename Edit>
bool UpdateRecords(const char* name, Edit edit) {
  std::string path = FullPath(name);
  File f;
  errno = 0;
  if (!f.Open(path, "r+b")) return errno == ENOENT || NoteIoFailure("open", path);
  RecId count = CountRecords(f, sizeof(Rec));
  const size_t perChunk = kScanChunk / sizeof(Rec);
  std::unique_ptr<Rec[]> buf(new Rec[perChunk]);
  for (RecId first = 0; first < count;) {
    size_t n = count - first < perChunk ? count - first : perChunk;
    int64_t at = static_cast<int64_t>(first) * static_cast<int64_t>(sizeof(Rec));
    if (!f.Seek(at) || !f.Read(buf.get(), n * sizeof(Rec))) return NoteIoFailure("read", path);
    size_t lo = n, hi = 0;
    for (size_t i = 0; i < n; ++i) {
      if (edit(&buf[i])) lo = lo < i ? lo : i, hi = i + 1;
    }
    if (lo < hi && !f.Seek(at + static_cast<int64_t>(lo * sizeof(Rec))))
      return NoteIoFailure("seek in", path);
    if (lo < hi && (!f.Write(&buf[lo], (hi - lo) * sizeof(Rec)) || !f.Flush())) return false;
    first += static_cast<RecId>(n);
  }
  return f.Close();
}

// Runs an edit's writes as one change of the four record files, all of them or none; `write`
// returns the edit's result, or kEditFailed when a write failed. The user is never asked while
// the change is open: the question comes first, and the entry it was about is checked again
// inside the change (`same`), since another program may have changed the database meanwhile.
template <typename Same, typename Write>
int InChange(Same same, Write write) {
  if (EnsureUtf8Database() == TextConversion::kFailed) return kEditFailed;
  Change change;
  for (const char* name : {kHitFile, kSongFile, kAlbumFile, kArtistFile})
    change.Stage(name, Change::From::kCopy);
  if (!change.ok()) return kEditFailed;
  if (!same()) {
    SetIoError("the database was changed by another program meanwhile; nothing was changed");
    return kEditFailed;
  }
  int result = write();
  if (result == kEditFailed || !change.Commit()) return kEditFailed;
  return result;
}

// The head of a song record: id, artistId, albumId, title, artist, album.
bool WriteSongHead(RecId s, RecId r, RecId a, const Name& title, const Name& artist,
                   const Name& album) {
  SongRecord rec;
  rec.id = s, rec.artistId = r, rec.albumId = a;
  std::memcpy(rec.title, title.text, kNameSize);
  std::memcpy(rec.artist, artist.text, kNameSize);
  std::memcpy(rec.album, album.text, kNameSize);
  return WriteInRecord(kSongFile, sizeof rec, s, 0, &rec, offsetof(SongRecord, file));
}

bool WriteAlbumRecord(RecId b, const Name& album, const Name& artist) {
  AlbumRecord rec;
  rec.id = b;
  std::memcpy(rec.album, album.text, kNameSize);
  std::memcpy(rec.artist, artist.text, kNameSize);
  return WriteInRecord(kAlbumFile, sizeof rec, b, 0, &rec, sizeof rec);
}

bool MarkDeleted(const char* file, size_t recSize, RecId id, int fields) {
  const uint32_t none[3] = {kNoId, kNoId, kNoId};
  return WriteInRecord(file, recSize, id, 0, none, 4 * static_cast<size_t>(fields));
}

// Album records whose artist text, lowercased, is `oldName` get `name`.
bool RenameAlbumArtists(const std::string& oldName, const Name& name) {
  return UpdateRecords<AlbumRecord>(kAlbumFile, [&](AlbumRecord* b) {
    if (NameKey(b->artist) != oldName) return false;
    std::memcpy(b->artist, name.text, kNameSize);
    return true;
  });
}

// The song key the lookups compare: the three names, lowercased.
std::string SongKey(const SongRecord& s) {
  return NameKey(s.title) + '\0' + NameKey(s.album) + '\0' + NameKey(s.artist);
}

// The aliases an edit leaves: the old names of each song it renamed (in file order, each
// names once), and the songs the aliases of merged-away songs now lead to.
struct Aliases {
  std::vector<SongRecord> added;
  std::unordered_map<std::string, size_t> index;  // key of the names -> place in `added`
  std::unordered_map<RecId, RecId> retarget;

  // Notes `old`, the record of live song `to` before the edit, if `now` gives it other names.
  void Note(const SongRecord& old, const SongRecord& now, RecId to) {
    std::string key = SongKey(old);
    if (key == SongKey(now)) return;
    SongRecord alias = old;
    alias.id = kNoId, alias.artistId = kAliasMark, alias.albumId = to;
    auto at = index.emplace(key, added.size());
    if (at.second)
      added.push_back(alias);
    else
      added[at.first->second] = alias;
  }
};

// Writes the aliases: an alias of the same names that is there already takes the new target,
// the others are appended; existing aliases of a merged-away song lead to the survivor.
bool WriteAliases(Aliases* aliases) {
  if (aliases->added.empty() && aliases->retarget.empty()) return true;
  std::vector<bool> stored(aliases->added.size());
  bool updated = UpdateRecords<SongRecord>(kSongFile, [&](SongRecord* song) {
    if (!IsAlias(*song)) return false;
    auto same = aliases->index.find(SongKey(*song));
    if (same != aliases->index.end() && !stored[same->second]) {
      song->albumId = aliases->added[same->second].albumId;
      stored[same->second] = true;
      return true;
    }
    auto to = aliases->retarget.find(song->albumId);
    return to != aliases->retarget.end() ? (song->albumId = to->second, true) : false;
  });
  if (!updated) return false;
  for (size_t i = 0; i < aliases->added.size(); ++i) {
    SongRecord& alias = aliases->added[i];
    if (!stored[i] && AppendRecord(kSongFile, &alias, sizeof alias, false) == kNoId) return false;
  }
  return true;
}

// The records a fold moves: each folded id and the live record of its names that takes it over.
using Folds = std::unordered_map<RecId, RecId>;

// Finds, in one pass over a record file, the records to fold into the live record of the same
// names (the lowest index, which the lookups find): later live records of those names, and
// deleted records of those names (kept in `deleted`), whose plays belong to the live one.
template <typename Rec, typename Key>
bool FindFolds(const char* name, Key key, Folds* live, Folds* deleted) {
  std::string path = FullPath(name);
  File f;
  errno = 0;
  if (!f.Open(path, "rb")) return errno == ENOENT || NoteIoFailure("open", path);
  std::unordered_map<std::string, RecId> first;
  std::vector<std::pair<std::string, RecId>> gone;
  ScanRecords(f, sizeof(Rec), [&](const unsigned char* bytes, RecId i) {
    const Rec* rec = reinterpret_cast<const Rec*>(bytes);
    if (rec->id == kNoId) {
      gone.emplace_back(key(*rec), i);
    } else {
      auto it = first.emplace(key(*rec), i).first;
      if (it->second != i) (*live)[i] = it->second;
    }
    return false;
  });
  for (const auto& g : gone) {
    auto it = first.find(g.first);
    if (it != first.end()) (*deleted)[g.second] = it->second;
  }
  return true;
}

RecId Folded(const Folds& live, const Folds& deleted, RecId id) {
  auto it = live.find(id);
  if (it != live.end()) return it->second;
  it = deleted.find(id);
  return it != deleted.end() ? it->second : id;
}

// Albums an artist merge or rename left with the same names: the later ones are merged into
// the first, with their songs and plays.
bool FoldAlbums() {
  Folds live, deleted;
  if (!FindFolds<AlbumRecord>(
          kAlbumFile,
          [](const AlbumRecord& b) { return NameKey(b.album) + '\0' + NameKey(b.artist); }, &live,
          &deleted))
    return false;
  if (live.empty() && deleted.empty()) return true;
  auto fold = [&](uint32_t* id) {
    RecId to = Folded(live, deleted, *id);
    return to != *id ? (*id = to, true) : false;
  };
  return UpdateRecords<HitRecord>(kHitFile, [&](HitRecord* h) { return fold(&h->albumId); }) &&
         UpdateRecords<SongRecord>(
             kSongFile,
             [&](SongRecord* song) { return song->id != kNoId && fold(&song->albumId); }) &&
         UpdateRecords<AlbumRecord>(kAlbumFile, [&](AlbumRecord* b) {
           return live.count(b->id) ? (b->id = kNoId, true) : false;
         });
}

// Songs a merge left with the same names: the later ones are merged into the first, whose ids
// their plays take.
bool FoldSongs() {
  Folds live, deleted;
  if (!FindFolds<SongRecord>(kSongFile, SongKey, &live, &deleted)) return false;
  if (live.empty() && deleted.empty()) return true;
  std::unordered_map<RecId, SongRecord> keep;
  for (const Folds* folds : {&live, &deleted}) {
    for (const auto& f : *folds) keep.emplace(f.second, SongRecord{});
  }
  bool read = UpdateRecords<SongRecord>(kSongFile, [&](SongRecord* song) {
    if (IsAlias(*song)) {
      auto to = live.find(song->albumId);  // an alias of a folded song leads to its survivor
      return to != live.end() ? (song->albumId = to->second, true) : false;
    }
    auto it = keep.find(song->id);
    if (it != keep.end()) it->second = *song;
    if (!live.count(song->id)) return false;
    song->id = song->artistId = song->albumId = kNoId;
    return true;
  });
  return read && UpdateRecords<HitRecord>(kHitFile, [&](HitRecord* h) {
           RecId to = Folded(live, deleted, h->songId);
           if (to == h->songId) return false;
           const SongRecord& into = keep[to];
           h->songId = to;
           if (into.artistId != kNoId) h->artistId = into.artistId;
           if (into.albumId != kNoId) h->albumId = into.albumId;
           return true;
         });
}

// After an edit no two live records of a list carry the same names, and no plays stay with a
// deleted record whose names a live one holds: a chart never lists the same names twice.
bool FoldDuplicateNames() {
  return FoldAlbums() && FoldSongs();
}

}  // namespace

RecId EditEntryId(int editType, int listType, RecId rowId) {
  bool songRow = listType == 0 || listType == 3;
  if (rowId == kNoId) return kNoId;
  if (editType == 0) return songRow ? rowId : kNoId;
  if (editType == 1) {
    if (listType == 1) return rowId;
    return songRow ? GetSongAlbum(rowId) : kNoId;
  }
  if (listType == 2) return rowId;
  return songRow ? GetSongArtist(rowId) : GetAlbumArtist(rowId);
}

int UpdateSong(RecId s, const char* titleText, const char* albumText, const char* artistText) {
  if (!IsLive(kSongFile, sizeof(SongRecord), s)) return Refuse(0, kSongFile, sizeof(SongRecord), s);
  Name title(titleText), album(albumText), artist(artistText);
  auto other = [&] { return FindLiveSong(title.text, album.text, artist.text); };
  RecId o = other();
  if (o == s) return kEditUnchanged;
  if (o != kNoId &&
      !CurrentUser().Ask(
          "This song already exists in the database. Do you want to merge the two songs?",
          kCaptions[0]))
    return kEditDeclined;
  auto same = [&] { return IsLive(kSongFile, sizeof(SongRecord), s) && other() == o; };
  return InChange(same, [&]() -> int {
    // A rename and a merge alike give the song the album and artist of its new names, adding
    // the records that are missing, and every play of the song (both songs' when merging)
    // takes the three ids.
    RecId a = FindAlbum(album.text, artist.text), r = FindArtist(artist.text);
    if (a == kNoId && (a = AddAlbum(album.text, artist.text)) == kNoId) return kEditFailed;
    if (r == kNoId && (r = AddArtist(artist.text)) == kNoId) return kEditFailed;
    // A later play of the old names (the file's tags stay as they were) counts for this song.
    SongRecord before, after = {};
    if (!ReadAt(kSongFile, static_cast<int64_t>(s) * sizeof before, &before, sizeof before))
      return NoteIoFailure("read", FullPath(kSongFile)), kEditFailed;
    std::memcpy(after.title, title.text, kNameSize);
    std::memcpy(after.artist, artist.text, kNameSize);
    std::memcpy(after.album, album.text, kNameSize);
    Aliases aliases;
    aliases.Note(before, after, s);
    if (o != kNoId) aliases.retarget[o] = s;
    bool written = UpdateRecords<HitRecord>(kHitFile,
                                            [&](HitRecord* h) {
                                              if (h->songId != s && h->songId != o) return false;
                                              h->songId = s, h->artistId = r, h->albumId = a;
                                              return true;
                                            }) &&
                   WriteSongHead(s, r, a, title, artist, album) &&
                   (o == kNoId || MarkDeleted(kSongFile, sizeof(SongRecord), o, 3)) &&
                   WriteAliases(&aliases) && FoldDuplicateNames();
    if (!written) return kEditFailed;
    return o == kNoId ? kEditRenamed : kEditMerged;
  });
}

int UpdateAlbum(RecId b, const char* albumText, const char* artistText) {
  if (!IsLive(kAlbumFile, sizeof(AlbumRecord), b))
    return Refuse(1, kAlbumFile, sizeof(AlbumRecord), b);
  Name album(albumText), artist(artistText);
  auto other = [&] { return FindAlbum(album.text, artist.text); };
  RecId o = other();
  if (o == b) return kEditUnchanged;
  if (o != kNoId &&
      !CurrentUser().Ask(
          "This album already exists in the database. Do you want to merge the two albums?",
          kCaptions[1]))
    return kEditDeclined;
  auto same = [&] { return IsLive(kAlbumFile, sizeof(AlbumRecord), b) && other() == o; };
  return InChange(same, [&]() -> int {
    RecId r = FindArtist(artist.text);
    if (r == kNoId && (r = AddArtist(artist.text)) == kNoId) return kEditFailed;
    Aliases aliases;
    auto ownSong = [&](SongRecord* song) {
      SongRecord before = *song;
      song->artistId = r, song->albumId = b;
      std::memcpy(song->artist, artist.text, kNameSize);
      std::memcpy(song->album, album.text, kNameSize);
      aliases.Note(before, *song, song->id);
      return true;
    };
    if (o == kNoId) {
      bool written =
          UpdateRecords<HitRecord>(
              kHitFile,
              [&](HitRecord* h) { return h->albumId == b ? (h->artistId = r, true) : false; }) &&
          UpdateRecords<SongRecord>(kSongFile,
                                    [&](SongRecord* song) {
                                      return song->id != kNoId && song->albumId == b &&
                                             ownSong(song);
                                    }) &&
          WriteAlbumRecord(b, album, artist) && WriteAliases(&aliases) && FoldDuplicateNames();
      return written ? kEditRenamed : kEditFailed;
    }
    bool written =
        UpdateRecords<HitRecord>(kHitFile,
                                 [&](HitRecord* h) {
                                   if (h->albumId == o) return h->albumId = b, true;
                                   return h->albumId == b ? (h->artistId = r, true) : false;
                                 }) &&
        UpdateRecords<SongRecord>(kSongFile,
                                  [&](SongRecord* song) {
                                    if (song->id == kNoId) return false;
                                    if (song->albumId == o) return song->albumId = b, true;
                                    return song->albumId == b && ownSong(song);
                                  }) &&
        WriteAlbumRecord(b, album, artist) && MarkDeleted(kAlbumFile, sizeof(AlbumRecord), o, 1) &&
        WriteAliases(&aliases) && FoldDuplicateNames();
    return written ? kEditMerged : kEditFailed;
  });
}

int UpdateArtist(RecId t, const char* nameText) {
  if (!IsLive(kArtistFile, sizeof(ArtistRecord), t))
    return Refuse(2, kArtistFile, sizeof(ArtistRecord), t);
  Name name(nameText);
  auto other = [&] { return FindArtist(name.text); };
  RecId o = other();
  if (o == t) return kEditUnchanged;
  if (o != kNoId &&
      !CurrentUser().Ask(
          "This artist already exists in the database. Do you want to merge the two artists?",
          kCaptions[2]))
    return kEditDeclined;
  auto same = [&] { return IsLive(kArtistFile, sizeof(ArtistRecord), t) && other() == o; };
  return InChange(same, [&]() -> int {
    char present[kNameSize] = {};
    if (!ReadAt(kArtistFile, static_cast<int64_t>(t) * sizeof(ArtistRecord) + 4, present,
                kNameSize))
      return NoteIoFailure("read", FullPath(kArtistFile)), kEditFailed;
    std::string oldName = NameKey(present);
    Aliases aliases;
    auto ownSong = [&](SongRecord* song) {
      SongRecord before = *song;
      std::memcpy(song->artist, name.text, kNameSize);
      aliases.Note(before, *song, song->id);
      return true;
    };
    if (o != kNoId && !UpdateRecords<HitRecord>(kHitFile, [&](HitRecord* h) {
          return h->artistId == o ? (h->artistId = t, true) : false;
        }))
      return kEditFailed;
    bool written = UpdateRecords<SongRecord>(kSongFile,
                                             [&](SongRecord* song) {
                                               if (song->id == kNoId) return false;
                                               if (o != kNoId && song->artistId == o)
                                                 return song->artistId = t, true;
                                               return song->artistId == t && ownSong(song);
                                             }) &&
                   RenameAlbumArtists(oldName, name) &&
                   WriteInRecord(kArtistFile, sizeof(ArtistRecord), t, 4, name.text, kNameSize);
    if (!written || (o != kNoId && !MarkDeleted(kArtistFile, sizeof(ArtistRecord), o, 1)) ||
        !WriteAliases(&aliases) || !FoldDuplicateNames())
      return kEditFailed;
    return o == kNoId ? kEditRenamed : kEditMerged;
  });
}

}  // namespace spinox
