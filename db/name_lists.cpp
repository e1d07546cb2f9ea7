#include "db/name_lists.h"

#include <unordered_map>

#include "base/file.h"
#include "base/text.h"
#include "db/paths.h"
#include "db/record_io.h"

namespace spinox {

std::vector<std::string> FillCBOWithArtists() {
  std::vector<std::string> names;
  File f(FullPath(kArtistFile), "rb");
  if (!f.IsOpen()) return names;
  ScanRecords(f, sizeof(ArtistRecord), [&](const unsigned char* bytes, RecId) {
    const ArtistRecord* rec = reinterpret_cast<const ArtistRecord*>(bytes);
    if (rec->id != kNoId) names.push_back(FieldText(rec->name));
    return false;
  });
  return names;
}

namespace {

// What FindArtist answers for each lowercased name: the lowest index of a live record.
std::unordered_map<std::string, RecId> ArtistIndex() {
  std::unordered_map<std::string, RecId> index;
  File f(FullPath(kArtistFile), "rb");
  if (!f.IsOpen()) return index;
  ScanRecords(f, sizeof(ArtistRecord), [&](const unsigned char* bytes, RecId id) {
    const ArtistRecord* rec = reinterpret_cast<const ArtistRecord*>(bytes);
    if (rec->id != kNoId) index.emplace(NameKey(rec->name), id);
    return false;
  });
  return index;
}

}  // namespace

std::vector<std::string> FillCBOWithAlbums(RecId artistId) {
  std::vector<std::string> entries;
  std::unordered_map<std::string, RecId> artists;
  if (artistId != kNoId) artists = ArtistIndex();
  File f(FullPath(kAlbumFile), "rb");
  if (!f.IsOpen()) return entries;
  ScanRecords(f, sizeof(AlbumRecord), [&](const unsigned char* bytes, RecId) {
    const AlbumRecord* rec = reinterpret_cast<const AlbumRecord*>(bytes);
    if (rec->id == kNoId) return false;
    if (artistId == kNoId) {
      entries.push_back(FieldText(rec->artist) + " - " + FieldText(rec->album));
    } else {
      auto it = artists.find(NameKey(rec->artist));
      if (it != artists.end() && it->second == artistId) entries.push_back(FieldText(rec->album));
    }
    return false;
  });
  return entries;
}

}  // namespace spinox
