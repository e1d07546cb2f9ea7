// The checks: one pass over each record file. Albums and artists are held as their names, songs
// as their ids and names' keys, so the hit file (the largest by far) is streamed once.
#include "db/check.h"

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "base/codepage.h"
#include "base/file.h"
#include "base/text.h"
#include "db/check_internal.h"
#include "db/convert_text.h"
#include "db/journal.h"
#include "db/lock.h"
#include "db/paths.h"
#include "db/record_io.h"
#include "db/text_encoding.h"

namespace spinox {

namespace {

const char* const kProblemNames[kCheckProblemKinds] = {
    "not-a-file",      "unreadable",     "torn-tail",         "bad-own-id",
    "id-out-of-range", "missing-ids",    "ids-differ",        "deleted-mark",
    "name-mismatch",   "time-backwards", "unfinished-change", "not-utf8"};

std::string Id(RecId id) {
  return id == kNoId ? std::string("none") : std::to_string(id);
}

// ", past the 3 albums stored"
std::string Past(size_t count, const char* what) {
  return ", past the " + std::to_string(count) + " " + what + " stored";
}

class Checker {
 public:
  explicit Checker(CheckReport* report) : r_(report) {}

  void Add(CheckProblem p, const char* file, int64_t record, const std::string& text) {
    int64_t& n = r_->count[static_cast<int>(p)];
    if (n++ < CheckReport::kShownPerKind) r_->shown.push_back({p, file, record, text});
  }

  // Whole records of a file; the file-level problems are reported here.
  bool Open(const char* name, size_t recSize, File* f, int64_t* count) {
    std::string path = FullPath(name);
    *count = 0;
    PathKind kind = KindOf(path);
    if (kind == PathKind::kMissing) return false;
    r_->anyFile = true;
    if (kind != PathKind::kFile) {
      Add(CheckProblem::kNotRegular, name, -1,
          path + ": " + FileErrorText(kind == PathKind::kFolder ? EISDIR : ENODEV));
      return false;
    }
    int64_t size = f->Open(path, "rb") ? f->Size() : -1;
    if (size < 0) {
      Add(CheckProblem::kUnreadable, name, -1, path + ": " + FileErrorText(errno));
      return false;
    }
    *count = size / static_cast<int64_t>(recSize);
    int64_t torn = size % static_cast<int64_t>(recSize);
    if (torn)
      Add(CheckProblem::kTornTail, name, *count,
          std::to_string(torn) + " bytes of a record cut short end the file");
    return true;
  }

  // In a folder of UTF-8 texts, each text field of a record must be well-formed UTF-8.
  void CheckTexts(const TextLayout& layout, const unsigned char* rec, RecId i) {
    if (!r_->utf8) return;
    for (size_t s = 0; s < layout.count; ++s) {
      const TextSpan& span = layout.spans[s];
      std::string text = FieldText(reinterpret_cast<const char*>(rec + span.offset), span.width);
      if (!IsUtf8(text.data(), text.size()))
        Add(CheckProblem::kNotUtf8, layout.file, i,
            std::string("its ") + span.name + " is not well-formed UTF-8");
    }
  }

  // The own id of every record of an album or artist file, and its names' keys.
  void ReadNames(const TextLayout& layout, size_t firstName, size_t secondName,
                 std::vector<NamedRecord>* out) {
    const char* name = layout.file;
    size_t recSize = layout.recSize;
    File f;
    int64_t count;
    if (!Open(name, recSize, &f, &count)) return;
    out->reserve(static_cast<size_t>(count));
    bool whole = ScanAll(f, recSize, count, [&](const unsigned char* rec, RecId index) {
      NamedRecord n;
      std::memcpy(&n.id, rec, 4);
      n.first = NameKey(rec + firstName);
      if (secondName) n.second = NameKey(rec + secondName);
      if (n.id != index && n.id != kNoId)
        Add(CheckProblem::kBadOwnId, name, index, "holds the id " + Id(n.id));
      CheckTexts(layout, rec, index);
      out->push_back(std::move(n));
    });
    if (!whole) Add(CheckProblem::kUnreadable, name, -1, FullPath(name) + ": a read failed");
  }

  void CheckSongs(Tables* t) {
    File f;
    int64_t count;
    if (!Open(kSongFile, sizeof(SongRecord), &f, &count)) return;
    t->songs.reserve(static_cast<size_t>(count));
    bool whole = ScanAll(f, sizeof(SongRecord), count, [&](const unsigned char* bytes, RecId i) {
      SongRecord rec;
      std::memcpy(&rec, bytes, sizeof rec);
      t->songs.push_back({rec.id, rec.artistId, rec.albumId});
      CheckTexts(kTextLayouts[kSongTexts], bytes, i);
      // An alias (the old names of an edited song) is sound while it names a song of the file.
      if (IsAlias(rec) && rec.albumId >= static_cast<uint64_t>(count))
        Add(CheckProblem::kIdOutOfRange, kSongFile, i,
            "is an alias of song " + Id(rec.albumId) + Past(static_cast<size_t>(count), "songs"));
      if (rec.id == kNoId) return;
      // A song whose id is damaged may or may not be live: nothing more can be told of it.
      if (rec.id != i)
        return Add(CheckProblem::kBadOwnId, kSongFile, i, "holds the id " + Id(rec.id));
      CheckSongArtist(*t, rec, i);
      CheckSongAlbum(*t, rec, i);
    });
    if (!whole)
      Add(CheckProblem::kUnreadable, kSongFile, -1, FullPath(kSongFile) + ": a read failed");
  }

  void CheckHits(const Tables& t) {
    File f;
    int64_t count;
    if (!Open(kHitFile, sizeof(HitRecord), &f, &count)) return;
    r_->hits = count;
    int32_t last = INT32_MIN;
    bool whole = ScanAll(f, sizeof(HitRecord), count, [&](const unsigned char* bytes, RecId i) {
      HitRecord h;
      std::memcpy(&h, bytes, sizeof h);
      if (h.time < last)
        Add(CheckProblem::kTimeBackwards, kHitFile, i,
            "its time " + std::to_string(h.time) + " is earlier than the play before it (" +
                std::to_string(last) + ")");
      last = h.time;
      CheckHit(t, h, i);
    });
    if (!whole)
      Add(CheckProblem::kUnreadable, kHitFile, -1, FullPath(kHitFile) + ": a read failed");
  }

 private:
  void CheckSongArtist(Tables& t, const SongRecord& rec, RecId i) {
    if (rec.artistId == kNoId) {
      if (UniqueArtist(t, NameKey(rec.artist)) != kNoId)
        Add(CheckProblem::kMissingIds, kSongFile, i,
            "has no artist id, and its artist's name finds exactly one artist");
    } else if (rec.artistId >= t.artists.size()) {
      Add(CheckProblem::kIdOutOfRange, kSongFile, i,
          "names artist " + Id(rec.artistId) + Past(t.artists.size(), "artists"));
    } else if (t.artists[rec.artistId].id == kNoId) {
      Add(CheckProblem::kDeletedMark, kSongFile, i,
          "names artist " + Id(rec.artistId) + ", which is deleted");
    } else if (t.artists[rec.artistId].first != NameKey(rec.artist)) {
      Add(CheckProblem::kNameMismatch, kSongFile, i,
          "names artist " + Id(rec.artistId) + ", whose name is not the song's artist");
    }
  }

  void CheckSongAlbum(Tables& t, const SongRecord& rec, RecId i) {
    if (rec.albumId == kNoId) {
      if (UniqueAlbum(t, NameKey(rec.album), NameKey(rec.artist)) != kNoId)
        Add(CheckProblem::kMissingIds, kSongFile, i,
            "has no album id, and its album's names find exactly one album");
    } else if (rec.albumId >= t.albums.size()) {
      Add(CheckProblem::kIdOutOfRange, kSongFile, i,
          "names album " + Id(rec.albumId) + Past(t.albums.size(), "albums"));
    } else if (t.albums[rec.albumId].id == kNoId) {
      Add(CheckProblem::kDeletedMark, kSongFile, i,
          "names album " + Id(rec.albumId) + ", which is deleted");
    } else if (t.albums[rec.albumId].first != NameKey(rec.album) ||
               t.albums[rec.albumId].second != NameKey(rec.artist)) {
      Add(CheckProblem::kNameMismatch, kSongFile, i,
          "names album " + Id(rec.albumId) + ", whose names are not the song's album and artist");
    }
  }

  void CheckHit(const Tables& t, const HitRecord& h, RecId i) {
    if (h.songId == kNoId) {
      if (h.artistId != kNoId || h.albumId != kNoId)
        Add(CheckProblem::kDeletedMark, kHitFile, i,
            "is marked deleted but still names an album or artist");
      return;
    }
    if (h.songId >= t.songs.size()) {
      Add(CheckProblem::kIdOutOfRange, kHitFile, i,
          "names song " + Id(h.songId) + Past(t.songs.size(), "songs"));
      return;
    }
    const SongIds& s = t.songs[h.songId];
    if (s.id == kNoId) {
      Add(CheckProblem::kDeletedMark, kHitFile, i,
          "is a play of song " + Id(h.songId) + ", which is deleted");
      return;
    }
    if (s.id != h.songId) return;  // the song's own id is damaged (reported with the song)
    if (h.artistId != kNoId && h.artistId >= t.artists.size()) {
      Add(CheckProblem::kIdOutOfRange, kHitFile, i,
          "names artist " + Id(h.artistId) + Past(t.artists.size(), "artists"));
    } else if (h.albumId != kNoId && h.albumId >= t.albums.size()) {
      Add(CheckProblem::kIdOutOfRange, kHitFile, i,
          "names album " + Id(h.albumId) + Past(t.albums.size(), "albums"));
    } else if (HitIdsMendable(t, h, s)) {
      Add(CheckProblem::kMissingIds, kHitFile, i,
          "lacks the album or artist id of its song " + Id(h.songId));
    } else if (h.artistId != s.artistId || h.albumId != s.albumId) {
      Add(CheckProblem::kIdsDiffer, kHitFile, i,
          "names artist " + Id(h.artistId) + " and album " + Id(h.albumId) + "; its song " +
              Id(h.songId) + " names artist " + Id(s.artistId) + " and album " + Id(s.albumId));
    }
  }

  CheckReport* r_;
};

}  // namespace

const char* ProblemName(CheckProblem problem) {
  return kProblemNames[static_cast<int>(problem)];
}

bool Mendable(CheckProblem problem) {
  return problem == CheckProblem::kTornTail || problem == CheckProblem::kMissingIds ||
         problem == CheckProblem::kUnfinishedChange;
}

int64_t CheckReport::Problems() const {
  int64_t n = 0;
  for (int64_t c : count) n += c;
  return n;
}

int64_t CheckReport::MendableProblems() const {
  int64_t n = 0;
  for (int i = 0; i < kCheckProblemKinds; ++i)
    if (Mendable(static_cast<CheckProblem>(i))) n += count[i];
  return n;
}

namespace {

void Index(Tables* t) {
  auto add = [](std::unordered_map<std::string, RecId>* map, const std::string& key, size_t i) {
    auto [it, fresh] = map->emplace(key, static_cast<RecId>(i));
    if (!fresh) it->second = kNoId;
  };
  for (size_t i = 0; i < t->artists.size(); ++i)
    if (t->artists[i].id == i) add(&t->artistByName, t->artists[i].first, i);
  for (size_t i = 0; i < t->albums.size(); ++i)
    if (t->albums[i].id == i)
      add(&t->albumByNames, t->albums[i].first + '\0' + t->albums[i].second, i);
  t->indexed = true;
}

RecId Lookup(const std::unordered_map<std::string, RecId>& map, const std::string& key) {
  auto it = map.find(key);
  return it == map.end() ? kNoId : it->second;
}

}  // namespace

RecId UniqueArtist(Tables& t, const std::string& name) {
  if (!t.indexed) Index(&t);
  return Lookup(t.artistByName, name);
}

RecId UniqueAlbum(Tables& t, const std::string& album, const std::string& artist) {
  if (!t.indexed) Index(&t);
  return Lookup(t.albumByNames, album + '\0' + artist);
}

namespace {

bool Live(const std::vector<NamedRecord>& records, RecId id) {
  return id < records.size() && records[id].id == id;
}

}  // namespace

bool HitIdsMendable(const Tables& t, const HitRecord& h, const SongIds& s) {
  bool artistMissing = h.artistId == kNoId && Live(t.artists, s.artistId);
  bool albumMissing = h.albumId == kNoId && Live(t.albums, s.albumId);
  return (artistMissing || h.artistId == s.artistId) && (albumMissing || h.albumId == s.albumId) &&
         (artistMissing || albumMissing);
}

// The files are read under the shared lock, so no change of another process is seen half
// done, and a journal seen then belongs to no live change: it was cut short. It is reported,
// not finished, and the files are read as they are.
CheckReport CheckDatabase(Tables* tables) {
  CheckReport report;
  Checker c(&report);
  Tables own;
  Tables& t = tables ? *tables : own;
  DatabaseLock lock(LockKind::kShared, DatabaseLock::kSetWait, LeftChange::kLeave);
  if (!lock.held()) {
    report.error = LastIoError();
    return report;
  }
  if (ChangePending())
    c.Add(CheckProblem::kUnfinishedChange, kJournalFile, -1,
          "a change to several record files was cut short; the files may be partly changed");
  report.utf8 = StoredTextEncoding() == TextEncoding::kUtf8;
  c.ReadNames(kTextLayouts[kArtistTexts], offsetof(ArtistRecord, name), 0, &t.artists);
  c.ReadNames(kTextLayouts[kAlbumTexts], offsetof(AlbumRecord, album),
              offsetof(AlbumRecord, artist), &t.albums);
  c.CheckSongs(&t);
  c.CheckHits(t);
  report.artists = static_cast<int64_t>(t.artists.size());
  report.albums = static_cast<int64_t>(t.albums.size());
  report.songs = static_cast<int64_t>(t.songs.size());
  return report;
}

CheckReport CheckDatabase() {
  return CheckDatabase(nullptr);
}

}  // namespace spinox
