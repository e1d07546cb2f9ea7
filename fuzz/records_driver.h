// Runs every reader of the record files over a database made of arbitrary bytes. Shared by the
// fuzz target and the unit test that replays the saved regression inputs.
//
// Input layout: four 16-bit little-endian lengths, then the bytes of the song, album, artist
// and hit files in that order (each cut to what is left; the hit file also takes the rest).
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/user.h"
#include "db/edit.h"
#include "db/lookup.h"
#include "db/paths.h"
#include "db/play.h"

namespace spinox::fuzz {

struct RecordFiles {
  std::string bytes[4];  // song, album, artist, hit
};

inline RecordFiles SplitRecordInput(const uint8_t* data, size_t size) {
  RecordFiles files;
  if (size == 0) return files;
  size_t pos = 8 < size ? 8 : size;
  for (size_t i = 0; i < 4; ++i) {
    size_t want = 2 * i + 1 < size ? data[2 * i] | (data[2 * i + 1] << 8) : 0;
    if (i == 3) want = size - pos;
    size_t n = want < size - pos ? want : size - pos;
    files.bytes[i].assign(reinterpret_cast<const char*>(data) + pos, n);
    pos += n;
  }
  return files;
}

inline void WriteRecordFiles(const RecordFiles& files, const std::string& dir) {
  const char* names[4] = {kSongFile, kAlbumFile, kArtistFile, kHitFile};
  for (int i = 0; i < 4; ++i) {
    std::FILE* f = std::fopen((dir + "/" + names[i]).c_str(), "wb");
    if (!f) continue;
    std::fwrite(files.bytes[i].data(), 1, files.bytes[i].size(), f);
    std::fclose(f);
  }
}

// A 4-byte word of a file's bytes, or `otherwise` when the file is too short.
inline uint32_t WordAt(const std::string& bytes, size_t offset, uint32_t otherwise) {
  if (bytes.size() < offset + 4) return otherwise;
  uint32_t v;
  std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}

// A stored 50-byte name as a lookup argument (with room for its terminator).
struct NameArg {
  NameArg(const std::string& bytes, size_t offset) {
    if (bytes.size() >= offset + kNameSize) std::memcpy(text, bytes.data() + offset, kNameSize);
  }
  char text[kNameSize + 1] = {};
};

inline std::vector<RecId> ProbeIds(const RecordFiles& files) {
  std::vector<RecId> ids = {0, 1, 2, 0x7FFFFFFF, kNoId - 1, kNoId};
  const size_t sizes[3] = {sizeof(SongRecord), sizeof(AlbumRecord), sizeof(ArtistRecord)};
  for (size_t i = 0; i < 3; ++i) {
    RecId count = static_cast<RecId>(files.bytes[i].size() / sizes[i]);
    ids.insert(ids.end(), {WordAt(files.bytes[3], 4 * i, 3), count - 1, count, count + 1});
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

inline void RunLookups(const RecordFiles& files) {
  NameArg album(files.bytes[1], 4), albumArtist(files.bytes[1], 54);
  NameArg artist(files.bytes[2], 4), title(files.bytes[0], 12);
  FindArtist(artist.text);
  FindAlbum(album.text, albumArtist.text);
  FindSong(title.text, album.text, albumArtist.text);
  std::string both = std::string(albumArtist.text) + " - " + album.text;
  FindAlbumBoth(&both[0]);
  char fixed[] = "ABBA - Gold";
  FindAlbumBoth(fixed);
}

inline void RunReaders(const RecordFiles& files) {
  char title[kNameSize], album[kNameSize], artist[kNameSize];
  for (RecId id : ProbeIds(files)) {
    GetSongAlbum(id);
    GetSongArtist(id);
    GetAlbumArtist(id);
    for (int kind = 0; kind < 3; ++kind) GetSongInfo(id, kind, title, album, artist);
  }
}

inline void RunPlay(const RecordFiles& files) {
  SetClockOverride(static_cast<int32_t>(WordAt(files.bytes[3], 12, 0x80000000u)));
  SongInfo info = {};
  std::memcpy(info.artist, NameArg(files.bytes[0], 62).text, kNameSize - 1);
  std::memcpy(info.title, NameArg(files.bytes[0], 12).text, kNameSize - 1);
  std::memcpy(info.album, NameArg(files.bytes[0], 112).text, kNameSize - 1);
  FillSongInfo(&info);
  GetTimeNow();
  RemoveFromDatabase(WordAt(files.bytes[3], 0, 0));
  Hit(&info);
  ClearClockOverride();
}

// Agrees to every merge, so that the edits below run their whole way.
class AgreeingUser : public User {
 public:
  AgreeingUser() { SetCurrentUser(this); }
  ~AgreeingUser() override { SetCurrentUser(nullptr); }
  bool Ask(const std::string&, const std::string&) override { return true; }
  void Tell(const std::string&, const std::string&) override {}
  bool ChooseFile(const std::string&, const std::string&, const std::string&,
                  std::string*) override {
    return false;
  }
};

// Renames and merges between the entries the files hold: the first records take the names of
// the second ones (a merge when those are stored), then records of the same names are folded.
inline void RunEdits(const RecordFiles& files) {
  AgreeingUser user;
  NameArg title(files.bytes[0], sizeof(SongRecord) + 12);
  NameArg songArtist(files.bytes[0], sizeof(SongRecord) + 62);
  NameArg songAlbum(files.bytes[0], sizeof(SongRecord) + 112);
  UpdateSong(0, title.text, songAlbum.text, songArtist.text);
  NameArg album(files.bytes[1], sizeof(AlbumRecord) + 4);
  NameArg albumArtist(files.bytes[1], sizeof(AlbumRecord) + 54);
  UpdateAlbum(0, album.text, albumArtist.text);
  UpdateArtist(0, NameArg(files.bytes[2], sizeof(ArtistRecord) + 4).text);
}

inline void RunRecordsInput(const uint8_t* data, size_t size, const std::string& dir) {
  RecordFiles files = SplitRecordInput(data, size);
  WriteRecordFiles(files, dir);
  SetDataDir(dir);
  RunLookups(files);
  RunReaders(files);
  RunPlay(files);
  WriteRecordFiles(files, dir);
  RunEdits(files);
}

}  // namespace spinox::fuzz
