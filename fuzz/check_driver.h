// Builds a damaged database from fuzz input, checks it, repairs it and checks it again. Shared
// by the fuzz target and the unit test that replays the saved regression inputs.
//
// The input's first four bytes size a sound database (artists, albums, songs, plays); each
// following operation damages it: an id or time set, a name byte changed, a torn record added,
// a record duplicated, ids taken out of a song and its plays, or a change left cut short (a
// journal, with or without the files it names aside). The check must change nothing; after the
// repair no mendable problem may be left (unless the repair says what it could not do) and no
// other problem may be new; a second repair must find nothing to do.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "db/check.h"
#include "db/paths.h"
#include "db/records.h"
#include "db/repair.h"

namespace spinox::fuzz {

using Bytes = std::vector<unsigned char>;

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool More() const { return pos_ < size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
    return v;
  }
  // An id-like value: none, a small index (often a real one) or any word.
  uint32_t Id() {
    uint8_t kind = Byte();
    if (kind < 64) return kNoId;
    if (kind < 224) return kind % 8;
    return Word();
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

struct DamagedDb {
  std::vector<ArtistRecord> artists;
  std::vector<AlbumRecord> albums;
  std::vector<SongRecord> songs;
  std::vector<HitRecord> hits;
  std::map<std::string, Bytes> tails;  // torn bytes after the records, by file
  std::map<std::string, Bytes> extra;  // journal and files set aside
  bool journal = false;
};

template <size_t N>
void Name(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), text.size() < N - 1 ? text.size() : N - 1);
}

inline DamagedDb SoundDb(Input& in) {
  DamagedDb d;
  size_t nArtists = 1 + in.Byte() % 4, nAlbums = 1 + in.Byte() % 4;
  size_t nSongs = 1 + in.Byte() % 6, nHits = in.Byte() % 12;
  for (size_t i = 0; i < nArtists; ++i) {
    ArtistRecord a = {static_cast<uint32_t>(i), {}};
    Name(a.name, "artist " + std::to_string(i));
    d.artists.push_back(a);
  }
  for (size_t i = 0; i < nAlbums; ++i) {
    AlbumRecord b = {static_cast<uint32_t>(i), {}, {}};
    Name(b.album, "album " + std::to_string(i));
    std::memcpy(b.artist, d.artists[i % nArtists].name, kNameSize);
    d.albums.push_back(b);
  }
  for (size_t i = 0; i < nSongs; ++i) {
    const AlbumRecord& b = d.albums[i % nAlbums];
    SongRecord s = {};
    s.id = static_cast<uint32_t>(i);
    s.albumId = b.id;
    s.artistId = static_cast<uint32_t>(i % nAlbums % nArtists);
    Name(s.title, "song " + std::to_string(i));
    std::memcpy(s.album, b.album, kNameSize);
    std::memcpy(s.artist, b.artist, kNameSize);
    d.songs.push_back(s);
  }
  for (size_t i = 0; i < nHits; ++i) {
    const SongRecord& s = d.songs[i % nSongs];
    d.hits.push_back({s.id, s.artistId, s.albumId, static_cast<int32_t>(1000 + 10 * i)});
  }
  return d;
}

template <typename Rec>
Bytes RecordBytes(const std::vector<Rec>& records) {
  Bytes b(records.size() * sizeof(Rec));
  if (!b.empty()) std::memcpy(b.data(), records.data(), b.size());
  return b;
}

inline Bytes FileBytes(const DamagedDb& d, const std::string& name) {
  Bytes b = name == kArtistFile  ? RecordBytes(d.artists)
            : name == kAlbumFile ? RecordBytes(d.albums)
            : name == kSongFile  ? RecordBytes(d.songs)
                                 : RecordBytes(d.hits);
  auto tail = d.tails.find(name);
  if (tail != d.tails.end()) b.insert(b.end(), tail->second.begin(), tail->second.end());
  return b;
}

// A 32-bit field of one record: an id, or a play's time.
inline void SetWord(DamagedDb& d, Input& in) {
  uint8_t which = in.Byte(), field = in.Byte();
  uint32_t v = in.Id();
  if (which % 4 == 0 && !d.artists.empty()) d.artists[in.Byte() % d.artists.size()].id = v;
  if (which % 4 == 1 && !d.albums.empty()) d.albums[in.Byte() % d.albums.size()].id = v;
  if (which % 4 == 2 && !d.songs.empty()) {
    SongRecord& s = d.songs[in.Byte() % d.songs.size()];
    uint32_t* fields[] = {&s.id, &s.artistId, &s.albumId};
    *fields[field % 3] = v;
  }
  if (which % 4 == 3 && !d.hits.empty()) {
    HitRecord& h = d.hits[in.Byte() % d.hits.size()];
    if (field % 4 == 3) {
      h.time = static_cast<int32_t>(v);
    } else {
      uint32_t* fields[] = {&h.songId, &h.artistId, &h.albumId};
      *fields[field % 4] = v;
    }
  }
}

inline void ChangeName(DamagedDb& d, Input& in) {
  uint8_t which = in.Byte(), at = in.Byte() % 8;
  char c = static_cast<char>(in.Byte());
  if (which % 3 == 0 && !d.artists.empty()) d.artists[in.Byte() % d.artists.size()].name[at] = c;
  if (which % 3 == 1 && !d.albums.empty())
    (which & 4 ? d.albums[in.Byte() % d.albums.size()].artist
               : d.albums[in.Byte() % d.albums.size()].album)[at] = c;
  if (which % 3 == 2 && !d.songs.empty()) {
    SongRecord& s = d.songs[in.Byte() % d.songs.size()];
    (which & 4 ? s.artist : which & 8 ? s.album : s.title)[at] = c;
  }
}

// A song's album or artist id (and often its plays') taken out, as stored before they existed.
inline void TakeIds(DamagedDb& d, Input& in) {
  if (d.songs.empty()) return;
  uint8_t which = in.Byte();
  SongRecord& s = d.songs[which % d.songs.size()];
  bool artist = which & 0x40, album = which & 0x80 || !artist;
  for (HitRecord& h : d.hits) {
    if (h.songId != s.id || !(which & 0x20)) continue;
    if (artist) h.artistId = kNoId;
    if (album) h.albumId = kNoId;
  }
  if (artist) s.artistId = kNoId;
  if (album) s.albumId = kNoId;
}

inline void Duplicate(DamagedDb& d, Input& in) {
  uint8_t which = in.Byte();
  if (which & 1 && !d.artists.empty()) {
    ArtistRecord a = d.artists[in.Byte() % d.artists.size()];
    a.id = static_cast<uint32_t>(d.artists.size());
    d.artists.push_back(a);
  } else if (!d.albums.empty()) {
    AlbumRecord b = d.albums[in.Byte() % d.albums.size()];
    b.id = static_cast<uint32_t>(d.albums.size());
    d.albums.push_back(b);
  }
}

inline void Tear(DamagedDb& d, Input& in) {
  static const char* const kNames[] = {kArtistFile, kAlbumFile, kSongFile, kHitFile};
  static const size_t kSizes[] = {sizeof(ArtistRecord), sizeof(AlbumRecord), sizeof(SongRecord),
                                  sizeof(HitRecord)};
  size_t i = in.Byte() % 4;
  d.tails[kNames[i]] = Bytes(1 + in.Byte() % (kSizes[i] - 1), in.Byte());
}

// A change cut short: the journal (whole or not), and each file it names set aside as it is now.
inline void CutShort(DamagedDb& d, Input& in) {
  static const char* const kNames[] = {kArtistFile, kAlbumFile, kSongFile, kHitFile, "x"};
  uint8_t which = in.Byte();
  std::string journal = "spinox journal 1\n";
  for (int i = 0; i < 5; ++i) {
    if (!(which >> i & 1)) continue;
    bool existed = which & 0x80;
    journal += std::string(kNames[i]) + (existed ? " 1\n" : " 0\n");
    if (i < 4 && which & 0x20) d.extra[std::string(kNames[i]) + ".old"] = FileBytes(d, kNames[i]);
    if (i < 4 && which & 0x40) d.extra[std::string(kNames[i]) + ".new"] = {1, 2, 3};
  }
  journal += which & 0x10 ? "end\n" : "en";
  d.extra["gen_spinox.jnl"] = Bytes(journal.begin(), journal.end());
  d.journal = true;
}

inline void Damage(DamagedDb& d, Input& in) {
  for (int ops = 0; in.More() && ops < 32; ++ops) {
    switch (in.Byte() % 7) {
      case 0:
        SetWord(d, in);
        break;
      case 1:
        ChangeName(d, in);
        break;
      case 2:
        TakeIds(d, in);
        break;
      case 3:
        Duplicate(d, in);
        break;
      case 4:
        Tear(d, in);
        break;
      case 5:
        CutShort(d, in);
        break;
      default:
        if (d.hits.size() > 1) std::swap(d.hits[0].time, d.hits[in.Byte() % d.hits.size()].time);
    }
  }
}

inline void Trap(bool wrong) {
  if (wrong) __builtin_trap();
}

inline std::map<std::string, Bytes> FolderBytes(const std::string& dir) {
  std::map<std::string, Bytes> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (name == "gen_spinox.lck") continue;  // the lock file holds no data
    FILE* f = std::fopen(entry.path().string().c_str(), "rb");
    Bytes& b = files[name];
    for (int c; f && (c = std::fgetc(f)) != EOF;) b.push_back(static_cast<unsigned char>(c));
    if (f) std::fclose(f);
  }
  return files;
}

inline void CheckConsistent(const CheckReport& r) {
  int64_t shown[kCheckProblemKinds] = {};
  for (const CheckFinding& f : r.shown) ++shown[static_cast<int>(f.problem)];
  for (int k = 0; k < kCheckProblemKinds; ++k)
    Trap(shown[k] > r.count[k] || shown[k] > CheckReport::kShownPerKind ||
         (r.count[k] > 0 && shown[k] == 0));
}

inline void RunCheckInput(const uint8_t* data, size_t size, const std::string& dir) {
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::filesystem::create_directories(dir, ec);
  SetDataDir(dir);
  Input in(data, size);
  DamagedDb d = SoundDb(in);
  Damage(d, in);
  for (const char* name : {kArtistFile, kAlbumFile, kSongFile, kHitFile}) {
    Bytes b = FileBytes(d, name);
    d.extra[name] = b;
  }
  for (const auto& [name, bytes] : d.extra) {
    FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    if (!f) continue;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }

  std::map<std::string, Bytes> before = FolderBytes(dir);
  CheckReport found = CheckDatabase();
  Trap(FolderBytes(dir) != before);  // the check changes nothing
  CheckConsistent(found);

  RepairReport repair = RepairDatabase();
  CheckReport after = CheckDatabase();
  CheckConsistent(after);
  if (repair.failed.empty()) Trap(after.MendableProblems() != 0);
  if (!d.journal) {
    for (int k = 0; k < kCheckProblemKinds; ++k)
      if (!Mendable(static_cast<CheckProblem>(k))) Trap(after.count[k] > found.count[k]);
  }
  if (!repair.failed.empty()) return;
  RepairReport again = RepairDatabase();
  Trap(!again.done.empty() || !again.failed.empty());
}

}  // namespace spinox::fuzz
