#include "hitlist/playlist.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/ansi_path.h"
#include "base/codepage.h"
#include "base/file.h"
#include "base/player.h"
#include "base/replace_file.h"
#include "base/text.h"
#include "db/paths.h"
#include "db/record_io.h"

namespace spinox {

const char* const kTempPlaylist = "temphit.m3u8";
const char* const kTempAnsiPlaylist = "temphit.m3u";

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

namespace {

bool IsUtf8Playlist(const std::string& path) {
  static const char kExtension[] = ".m3u8";
  const size_t n = sizeof kExtension - 1;
  if (path.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if ((path[path.size() - n + i] | 0x20) != kExtension[i]) return false;
  return true;
}

// The playlist's UTF-8 lines in the ANSI code page; `inexact` counts the paths left in UTF-8.
std::string AnsiPlaylistText(const std::string& utf8, int* inexact) {
  std::string out;
  for (size_t start = 0, end; (end = utf8.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    AnsiPath line = AnsiPathOf(utf8.substr(start, end - start));
    if (!line.exact) ++*inexact;
    out += line.text + "\r\n";
  }
  return out;
}

bool WriteText(const std::string& path, const std::string& utf8, std::string* why,
               std::string* note) {
  if (IsUtf8Playlist(path)) return WriteFileReplacing(path, utf8.data(), utf8.size(), why);
  int inexact = 0;
  std::string ansi = AnsiPlaylistText(utf8, &inexact);
  if (!WriteFileReplacing(path, ansi.data(), ansi.size(), why)) return false;
  if (inexact > 0 && note)
    *note = std::to_string(inexact) + (inexact == 1 ? " path" : " paths") +
            " cannot be written in the ANSI code page (" + AnsiCharset() +
            ") and the system gives no short name: written in UTF-8, which a player reading "
            ".m3u in the code page cannot open. An .m3u8 playlist keeps every path.";
  return true;
}

bool ReadText(int32_t type, int32_t count, const HitListItem* items, std::string* text,
              std::string* why) {
  if (PlaylistText(type, count, items, text)) return true;
  if (why) *why = "the song file " + FullPath(kSongFile) + " cannot be read";
  return false;
}

}  // namespace

std::vector<std::string> PlaylistEntries(const std::string& text, const std::string& folder) {
  std::vector<std::string> entries;
  const std::filesystem::path dir = std::filesystem::u8path(folder);
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] == '#') continue;
    if (!IsUtf8(line.data(), line.size())) line = AnsiToUtf8(line);
    std::filesystem::path p = std::filesystem::u8path(line);
    entries.push_back(p.is_absolute() ? line : (dir / p).lexically_normal().u8string());
  }
  return entries;
}

bool WritePlaylist(const std::string& path, int32_t type, int32_t count, const HitListItem* items,
                   std::string* why, std::string* note) {
  std::string text;
  return ReadText(type, count, items, &text, why) && WriteText(path, text, why, note);
}

bool MakePlaylist(int32_t action, int32_t type, int32_t count, const HitListItem* items,
                  const std::string& savePath, std::string* why, std::string* note) {
  if (count <= 0) return true;
  if (action == kSave)
    return savePath.empty() || WritePlaylist(savePath, type, count, items, why, note);
  // Both forms are written before the player is touched: an older player takes only the ANSI one.
  std::string text, temp = FullPath(kTempPlaylist), ansi = FullPath(kTempAnsiPlaylist);
  if (!ReadText(type, count, items, &text, why) || !WriteText(temp, text, why, nullptr) ||
      !WriteText(ansi, text, why, nullptr))
    return false;
  Player* player = CurrentPlayer();
  if (!player) return true;
  if (action == kPlay) player->ClearPlaylist();
  if (!player->LoadPlaylist(temp)) player->LoadAnsiPlaylist(ansi);
  if (action == kPlay) player->Play();
  return true;
}

}  // namespace spinox
