// Layouts of the four record files and of SongInfo. docs/database-format.md describes the files.
// All numbers are 32-bit little-endian; a record's id is its index in its file.
#pragma once
#include <cstdint>

namespace spinox {

using RecId = uint32_t;
constexpr RecId kNoId = 0xFFFFFFFF;  // none, not yet stored, deleted

// A song record whose id is kNoId and whose artistId is kAliasMark is an alias: the old names
// of a song that an edit renamed or merged, and in albumId the id of the song that holds its
// plays now. Readers that pass over deleted records pass over aliases too.
constexpr uint32_t kAliasMark = 0xFFFFFFFE;

constexpr int kNameSize = 50;  // at most 49 bytes of text and a NUL
constexpr int kPathSize = 250;

#pragma pack(push, 1)

struct SongRecord {  // gen_spinox.sng
  uint32_t id;
  uint32_t artistId;
  uint32_t albumId;
  char title[kNameSize];
  char artist[kNameSize];
  char album[kNameSize];
  char file[kPathSize];
  int32_t lastPlayed;
};
static_assert(sizeof(SongRecord) == 416, "SongRecord layout");

inline bool IsAlias(const SongRecord& r) {
  return r.id == kNoId && r.artistId == kAliasMark;
}

struct AlbumRecord {  // gen_spinox.alb
  uint32_t id;
  char album[kNameSize];
  char artist[kNameSize];
};
static_assert(sizeof(AlbumRecord) == 104, "AlbumRecord layout");

struct ArtistRecord {  // gen_spinox.art
  uint32_t id;
  char name[kNameSize];
};
static_assert(sizeof(ArtistRecord) == 54, "ArtistRecord layout");

struct HitRecord {  // gen_spinox.hit, one per counted play, in play order
  uint32_t songId;
  uint32_t artistId;
  uint32_t albumId;
  int32_t time;
};
static_assert(sizeof(HitRecord) == 16, "HitRecord layout");

// One song as the statistics see it (in memory only). The counters describe the plays before
// the current one.
struct SongInfo {
  char artist[kNameSize];
  char title[kNameSize];
  char album[kNameSize];
  char file[kPathSize];
  uint32_t songId;
  uint32_t artistId;
  uint32_t albumId;
  int32_t hits;
  int32_t hitsDay;
  int32_t hitsWeek;
  int32_t hitsMonth;
  int32_t hitsYear;
  int32_t hitsAlbum;
  int32_t hitsArtist;
  int32_t playTime;
  int32_t lastPlayed;
};
static_assert(sizeof(SongInfo) == 448, "SongInfo layout");

#pragma pack(pop)

// The records are written and read as raw bytes, which requires a little-endian machine.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "record files are little-endian");

}  // namespace spinox
