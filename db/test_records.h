// Expected record-file bytes for the database tests, built byte by byte from the documented
// layouts (independently of the structs in db/records.h).
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "base/file.h"
#include "base/text.h"
#include "base/user.h"
#include "db/paths.h"
#include "db/records.h"
#include "tests/test_util.h"

namespace spinox::test {

using Bytes = std::vector<unsigned char>;

// The helpers grow the buffer first and then fill it by index: GCC 12 at -O2 misreads growth by
// push_back/insert as writes past the end (-Wstringop-overflow, -Wstringop-overread).
inline void PutWord(Bytes* b, uint32_t v) {
  const size_t at = b->size();
  b->resize(at + 4);
  for (size_t i = 0; i < 4; ++i) (*b)[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// The text, then NULs up to the field's width (a longer text is cut at the width).
inline void PutText(Bytes* b, const std::string& text, size_t width) {
  const size_t at = b->size();
  b->resize(at + width, 0);
  for (size_t i = 0; i < width && i < text.size(); ++i)
    (*b)[at + i] = static_cast<unsigned char>(text[i]);
}

inline Bytes ArtistBytes(uint32_t id, const std::string& name) {
  Bytes b;
  PutWord(&b, id);
  PutText(&b, name, 50);
  return b;
}

inline Bytes AlbumBytes(uint32_t id, const std::string& album, const std::string& artist) {
  Bytes b;
  PutWord(&b, id);
  PutText(&b, album, 50);
  PutText(&b, artist, 50);
  return b;
}

struct SongBytesArgs {
  uint32_t id, artistId, albumId;
  std::string title, artist, album, file;
  int32_t lastPlayed;
};

inline Bytes SongBytes(const SongBytesArgs& s) {
  Bytes b;
  for (uint32_t v : {s.id, s.artistId, s.albumId}) PutWord(&b, v);
  PutText(&b, s.title, 50);
  PutText(&b, s.artist, 50);
  PutText(&b, s.album, 50);
  PutText(&b, s.file, 250);
  PutWord(&b, static_cast<uint32_t>(s.lastPlayed));
  return b;
}

inline Bytes HitBytes(uint32_t song, uint32_t artist, uint32_t album, int32_t time) {
  Bytes b;
  for (uint32_t v : {song, artist, album, static_cast<uint32_t>(time)}) PutWord(&b, v);
  return b;
}

// Writes a file with exactly these bytes (possibly none).
inline void PutFile(const std::string& path, const Bytes& bytes) {
  File f(path, "wb");
  if (!bytes.empty()) f.Write(bytes.data(), bytes.size());
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Artists abba and queen; albums gold and arrival (by "ABBA") of abba, greatest hits of queen.
inline void PutArtistsAndAlbums() {
  PutFile(FullPath(kArtistFile), Join({ArtistBytes(0, "abba"), ArtistBytes(1, "queen")}));
  PutFile(FullPath(kAlbumFile),
          Join({AlbumBytes(0, "gold", "abba"), AlbumBytes(1, "arrival", "ABBA"),
                AlbumBytes(2, "greatest hits", "queen")}));
}

// A track as the player names it; nothing resolved yet.
inline SongInfo Track(const char* artist, const char* title, const char* album,
                      const char* file = "/m/x.mp3") {
  SongInfo info = {};
  SetField(info.artist, artist);
  SetField(info.title, title);
  SetField(info.album, album);
  SetField(info.file, file);
  return info;
}

// A SongInfo's counters and last play as one text, for whole comparisons.
inline std::string Counters(const SongInfo& i) {
  char text[160];
  std::snprintf(text, sizeof text, "%d: day %d week %d month %d year %d album %d artist %d last %d",
                i.hits, i.hitsDay, i.hitsWeek, i.hitsMonth, i.hitsYear, i.hitsAlbum, i.hitsArtist,
                i.lastPlayed);
  return text;
}

// The record files of the database folder, written and read whole.
inline void Put(const char* name, const Bytes& bytes) {
  PutFile(FullPath(name), bytes);
}
inline Bytes Get(const char* name) {
  return ReadBytes(FullPath(name));
}

// The four record files' bytes, in the order hit, song, artist, album.
inline std::vector<Bytes> RecordFiles() {
  std::vector<Bytes> files;
  for (const char* name : {kHitFile, kSongFile, kArtistFile, kAlbumFile})
    files.push_back(Get(name));
  return files;
}

inline std::string Lower(std::string s) {
  MakeLower(s.data());
  return s;
}

// The whole records of a record file (a torn tail left out).
template <typename Rec>
std::vector<Rec> Records(const std::string& path) {
  Bytes b = ReadBytes(path);
  std::vector<Rec> recs(b.size() / sizeof(Rec));
  if (!recs.empty()) std::memcpy(recs.data(), b.data(), recs.size() * sizeof(Rec));
  return recs;
}

// Answers every question with a set reply, picks the given file (none when empty), and
// remembers the last question, message and file dialog as "text|caption".
class ScriptedUser : public User {
 public:
  explicit ScriptedUser(bool reply, std::string file = "") : reply_(reply), file_(std::move(file)) {
    SetCurrentUser(this);
  }
  ~ScriptedUser() override { SetCurrentUser(nullptr); }
  bool Ask(const std::string& text, const std::string& caption) override {
    asked = text + "|" + caption;
    return reply_;
  }
  void Tell(const std::string& text, const std::string& caption) override {
    told = text + "|" + caption;
  }
  bool ChooseFile(const std::string& title, const std::string& filter, const std::string& pattern,
                  std::string* path) override {
    chose = title + "|" + filter + "|" + pattern;
    if (file_.empty()) return false;
    *path = file_;
    return true;
  }
  std::string asked, told, chose;

 private:
  bool reply_;
  std::string file_;
};

}  // namespace spinox::test
