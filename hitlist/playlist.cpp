#include "hitlist/playlist.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/file.h"
#include "base/player.h"
#include "base/replace_file.h"
#include "base/text.h"
#include "db/paths.h"
#include "db/record_io.h"

namespace spinox {

const char* const kTempPlaylist = "temphit.m3u";

namespace {

constexpr size_t kFileOffset = 162;

void AppendLine(const unsigned char* rec, std::string* text) {
  *text += FieldText(reinterpret_cast<const char*>(rec) + kFileOffset, kPathSize);
  *text += "\r\n";
}

// Songs and the log: each listed song in list order, twice if listed twice.
void ListedSongs(File& f, int32_t count, const HitListItem* items, std::string* text) {
  RecId songs = CountRecords(f, sizeof(SongRecord));
  SongRecord rec;
  for (int32_t i = 0; i < count; ++i) {
    RecId id = static_cast<RecId>(items[i].id);
    if (id >= songs) continue;
    if (!f.Seek(static_cast<int64_t>(id) * static_cast<int64_t>(sizeof rec)) ||
        !f.Read(&rec, sizeof rec))
      continue;
    AppendLine(reinterpret_cast<const unsigned char*>(&rec), text);
  }
}

// Albums and artists: every song whose album (artist) is listed, in database order.
void SongsOfListed(File& f, int32_t type, int32_t count, const HitListItem* items,
                   std::string* text) {
  std::vector<int32_t> ids(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) ids[static_cast<size_t>(i)] = items[i].id;
  std::sort(ids.begin(), ids.end());
  size_t keyOffset = type == kListAlbums ? 8 : 4;
  ScanRecords(f, sizeof(SongRecord), [&](const unsigned char* rec, RecId) {
    int32_t key;
    uint32_t own;
    std::memcpy(&own, rec, sizeof own);
    if (own == kNoId) return false;  // removed, merged away, or an alias (its ids are no album's)
    std::memcpy(&key, rec + keyOffset, sizeof key);
    if (std::binary_search(ids.begin(), ids.end(), key)) AppendLine(rec, text);
    return false;
  });
}

}  // namespace

bool PlaylistText(int32_t type, int32_t count, const HitListItem* items, std::string* text) {
  text->clear();
  File f(FullPath(kSongFile), "rb");
  if (!f.IsOpen()) return false;
  if (count <= 0 || !items) return true;
  if (type == kListAlbums || type == kListArtists)
    SongsOfListed(f, type, count, items, text);
  else
    ListedSongs(f, count, items, text);
  return true;
}

bool WritePlaylist(const std::string& path, int32_t type, int32_t count, const HitListItem* items,
                   std::string* why) {
  std::string text;
  if (!PlaylistText(type, count, items, &text)) {
    if (why) *why = "the song file " + FullPath(kSongFile) + " cannot be read";
    return false;
  }
  return WriteFileReplacing(path, text.data(), text.size(), why);
}

bool MakePlaylist(int32_t action, int32_t type, int32_t count, const HitListItem* items,
                  const std::string& savePath, std::string* why) {
  if (count <= 0) return true;
  if (action == kSave) return savePath.empty() || WritePlaylist(savePath, type, count, items, why);
  std::string temp = FullPath(kTempPlaylist);
  if (!WritePlaylist(temp, type, count, items, why)) return false;
  Player* player = CurrentPlayer();
  if (!player) return true;
  if (action == kPlay) player->ClearPlaylist();
  player->LoadPlaylist(temp);
  if (action == kPlay) player->Play();
  return true;
}

}  // namespace spinox
