// Hand-built databases for the hit list tests: records written straight into the files.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/file.h"
#include "base/player.h"
#include "base/text.h"
#include "db/paths.h"
#include "db/records.h"
#include "hitlist/engine.h"

namespace spinox::test {

struct SongRow {
  SongRow(std::string t, std::string ar, std::string al, uint32_t arId = 0, uint32_t alId = 0,
          std::string f = "", int32_t last = 0)
      : title(std::move(t)),
        artist(std::move(ar)),
        album(std::move(al)),
        artistId(arId),
        albumId(alId),
        file(std::move(f)),
        lastPlayed(last) {}
  std::string title, artist, album;
  uint32_t artistId, albumId;
  std::string file;
  int32_t lastPlayed;
};

template <typename Record>
void WriteRecords(const char* name, const std::vector<Record>& records) {
  File f(FullPath(name), "wb");
  if (!records.empty()) f.Write(records.data(), records.size() * sizeof(Record));
}

inline void WriteSongs(const std::vector<SongRow>& songs) {
  std::vector<SongRecord> recs;
  for (const SongRow& s : songs) {
    SongRecord r = {};
    r.id = static_cast<uint32_t>(recs.size());
    r.artistId = s.artistId;
    r.albumId = s.albumId;
    SetField(r.title, s.title);
    SetField(r.artist, s.artist);
    SetField(r.album, s.album);
    // No file given: a path made from the title; "-": an empty path.
    std::string file = s.file.empty() ? "/music/" + s.title + ".mp3" : s.file;
    SetField(r.file, file == "-" ? std::string() : file);
    r.lastPlayed = s.lastPlayed;
    recs.push_back(r);
  }
  WriteRecords(kSongFile, recs);
}

inline void WriteAlbums(const std::vector<std::pair<std::string, std::string>>& albumArtist) {
  std::vector<AlbumRecord> recs;
  for (const auto& [album, artist] : albumArtist) {
    AlbumRecord r = {};
    r.id = static_cast<uint32_t>(recs.size());
    SetField(r.album, album);
    SetField(r.artist, artist);
    recs.push_back(r);
  }
  WriteRecords(kAlbumFile, recs);
}

inline void WriteArtists(const std::vector<std::string>& names) {
  std::vector<ArtistRecord> recs;
  for (const std::string& name : names) {
    ArtistRecord r = {};
    r.id = static_cast<uint32_t>(recs.size());
    SetField(r.name, name);
    recs.push_back(r);
  }
  WriteRecords(kArtistFile, recs);
}

// Hits of songs at times; artist and album ids as given.
inline void WriteHits(const std::vector<HitRecord>& hits) {
  WriteRecords(kHitFile, hits);
}

// The first n items of the list the query computes (slots past the list keep {0, 0, 0}); the
// count in `count` when given.
inline std::vector<HitListItem> List(const HitListQuery& q, int32_t n, int32_t* count = nullptr) {
  std::vector<HitListItem> items(static_cast<size_t>(n), HitListItem{0, 0, 0});
  int32_t c = GetHitList(q, items.data(), n);
  if (count) *count = c;
  return items;
}

// The items in list order, "id:hits" (":lastPos" with positions), "-" for an ended slot.
inline std::string Ranked(const std::vector<HitListItem>& items, bool positions) {
  std::string s;
  for (const HitListItem& i : items) {
    s += s.empty() ? "" : " ";
    if (i.id == -1) {
      s += "-";
      continue;
    }
    s += std::to_string(i.id) + ":" + std::to_string(i.hits);
    if (positions) s += ":" + std::to_string(i.lastPos);
  }
  return s;
}

// A player whose playlist is a fixed list of files.
class ListPlayer : public Player {
 public:
  explicit ListPlayer(std::vector<std::string> files) : files_(std::move(files)) {
    SetCurrentPlayer(this);
  }
  ~ListPlayer() override { SetCurrentPlayer(nullptr); }
  int PlayState() override { return 0; }
  int TrackLength() override { return -1; }
  int PlaylistLength() override { return static_cast<int>(files_.size()); }
  int PlaylistPosition() override { return 0; }
  bool PlaylistFile(int index, std::string* file) override {
    if (index < 0 || static_cast<size_t>(index) >= files_.size()) return false;
    *file = files_[static_cast<size_t>(index)];
    return true;
  }
  void ClearPlaylist() override { calls += "clear;"; }
  bool LoadPlaylist(const std::string& path) override {
    calls += "load " + path + ";";
    return wide;
  }
  void LoadAnsiPlaylist(const std::string& path) override { calls += "load ANSI " + path + ";"; }
  void Play() override { calls += "play;"; }
  std::string calls;
  bool wide = true;  // false: an older player, which takes only ANSI playlists

 private:
  std::vector<std::string> files_;
};

}  // namespace spinox::test
