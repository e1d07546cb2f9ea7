// The playlist filter's scan: the player's playlist entries looked up by name in one pass over
// the record file (a hash of the entries' names) instead of one scan per entry. It only reads:
// an entry the database does not hold is simply not listed.
#include "hitlist/playlist_scan.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/file.h"
#include "base/player.h"
#include "base/text.h"
#include "db/lookup.h"
#include "db/paths.h"
#include "db/record_io.h"
#include "tags/track_tag.h"

namespace spinox::hitlist_detail {

namespace {

struct Entry {
  std::string key;  // the lowercased names, joined by NULs
  RecId id = kNoId;
};

// Appends a name field lowercased (up to its NUL, never past the field) and a NUL.
void AppendLower(const char* field, std::string* key) {
  size_t n = strnlen(field, kNameSize);
  for (size_t i = 0; i < n; ++i) {
    char ch = field[i];
    key->push_back(ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 0x20) : ch);
  }
  key->push_back('\0');
}

// The names a lookup compares for the list type: title, artist and album of a song; album and
// artist of an album; the artist's name.
std::string KeyOf(int32_t type, const char* title, const char* artist, const char* album) {
  std::string key;
  if (type == kListSongs) AppendLower(title, &key);
  if (type != kListArtists) AppendLower(type == kListSongs ? artist : album, &key);
  AppendLower(type == kListSongs ? album : artist, &key);
  return key;
}

std::string RecordKey(int32_t type, const unsigned char* rec) {
  const char* r = reinterpret_cast<const char*>(rec);
  if (type == kListSongs) return KeyOf(type, r + 12, r + 62, r + 112);
  if (type == kListAlbums) return KeyOf(type, nullptr, r + 54, r + 4);
  return KeyOf(type, nullptr, r + 4, nullptr);
}

// A cheap hash of a record's key, computed without building it.
uint64_t HashField(const char* field, uint64_t h) {
  size_t n = strnlen(field, kNameSize);
  for (size_t i = 0; i < n; ++i) {
    char ch = field[i];
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 0x20);
    h = (h ^ static_cast<unsigned char>(ch)) * 1099511628211ull;
  }
  return (h ^ 0xFF) * 1099511628211ull;
}

uint64_t HashKey(const std::string& key) {
  uint64_t h = 14695981039346656037ull;
  for (char ch : key) h = (h ^ (ch ? static_cast<unsigned char>(ch) : 0xFF)) * 1099511628211ull;
  return h;
}

uint64_t HashRecord(int32_t type, const unsigned char* rec) {
  const char* r = reinterpret_cast<const char*>(rec);
  uint64_t h = 14695981039346656037ull;
  if (type == kListSongs) return HashField(r + 112, HashField(r + 62, HashField(r + 12, h)));
  if (type == kListAlbums) return HashField(r + 54, HashField(r + 4, h));
  return HashField(r + 4, h);
}

// The field a record's key begins with (the title of a song, the album of an album, the
// artist's name), where a quick test rules most records out.
size_t FirstFieldOffset(int32_t type) {
  return type == kListSongs ? 12 : 4;
}

// A bit per value of a hash's low 16 bits: a record whose first field's bit is clear is not
// wanted, whatever its other fields hold.
class FirstFieldFilter {
 public:
  void Add(const std::string& key) { Set(HashField(key.c_str(), kFnvBasis)); }
  bool MayHold(const unsigned char* field) const {
    uint64_t h = HashField(reinterpret_cast<const char*>(field), kFnvBasis);
    return (bits_[(h >> 6) & 1023] >> (h & 63)) & 1;
  }

 private:
  static constexpr uint64_t kFnvBasis = 14695981039346656037ull;
  void Set(uint64_t h) { bits_[(h >> 6) & 1023] |= uint64_t{1} << (h & 63); }
  uint64_t bits_[1024] = {};
};

bool IsLive(const unsigned char* rec) {
  uint32_t id;
  std::memcpy(&id, rec, sizeof id);
  return id != kNoId;
}

// Finds every entry's record in one pass: the lowest matching index of a live record, as the
// lookups by name answer, else for songs the live song an alias of those names leads to (the
// names a song had before an edit). Entries stay kNoId when the record file cannot be opened.
void MatchByName(int32_t type, std::vector<Entry>* entries) {
  File f(FullPath(RecordFileOf(type)), "rb");
  if (!f.IsOpen()) return;
  std::setvbuf(f.get(), nullptr, _IONBF, 0);  // the scan reads whole chunks of its own
  std::unordered_map<std::string, RecId> wanted;
  std::unordered_set<uint64_t> hashes;
  std::unique_ptr<FirstFieldFilter> first(new FirstFieldFilter);
  for (const Entry& e : *entries) {
    wanted.emplace(e.key, kNoId);
    hashes.insert(HashKey(e.key));
    first->Add(e.key);
  }
  size_t left = wanted.size();
  size_t offset = FirstFieldOffset(type);
  std::unordered_map<std::string, RecId> aliasTargets;
  ScanRecords(f, RecordSizeOf(type), [&](const unsigned char* rec, RecId i) {
    if (!first->MayHold(rec + offset) || !hashes.count(HashRecord(type, rec))) return false;
    if (!IsLive(rec)) {
      SongRecord song;
      if (type == kListSongs) {
        std::memcpy(&song, rec, sizeof song);
        if (IsAlias(song)) aliasTargets.emplace(RecordKey(type, rec), song.albumId);
      }
      return false;
    }
    auto it = wanted.find(RecordKey(type, rec));
    if (it != wanted.end() && it->second == kNoId) {
      it->second = i;
      --left;
    }
    return left == 0;
  });
  f.Close();
  for (auto& [key, id] : wanted) {
    auto alias = aliasTargets.find(key);
    if (id == kNoId && alias != aliasTargets.end()) id = FollowAlias(alias->second);
  }
  for (Entry& e : *entries) e.id = wanted[e.key];
}

void Mark(Working* w, RecId id) {
  if (id >= static_cast<RecId>(w->records)) return;
  int32_t& hits = w->hits[id];
  if (hits < 0) hits = -hits;
}

// Reads the tags of the playlist's first `length` entries.
std::vector<Entry> ReadEntries(int32_t type, int32_t length, HitListProgress* progress) {
  std::vector<Entry> entries;
  Player* player = CurrentPlayer();
  std::string file;
  for (int32_t i = 0; player && i < length && player->PlaylistFile(i, &file); ++i) {
    TrackTag tag = {};
    SetField(tag.file, file);
    ReadTag(&tag);
    entries.push_back(Entry{KeyOf(type, tag.title, tag.artist, tag.album), kNoId});
    if (progress) progress->Step();
  }
  return entries;
}

}  // namespace

void ScanPlaylist(int32_t type, int32_t length, Working* w, HitListProgress* progress) {
  std::vector<Entry> entries = ReadEntries(type, length, progress);
  if (entries.empty()) return;
  MatchByName(type, &entries);
  for (const Entry& e : entries) Mark(w, e.id);
}

}  // namespace spinox::hitlist_detail
