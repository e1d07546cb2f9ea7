// The hit list: the computed chart of songs, albums, artists or the log of plays, its choices
// and the part of the settings file that says what it shows (the list on show itself is
// hitlist/shown_list.h).
#pragma once
#include <cstdint>

namespace spinox {

#pragma pack(push, 1)
// One entry of a computed hit list. An item whose id is -1 ends the list.
struct HitListItem {
  int32_t id;       // record index of the song (types 0, 3), album (1) or artist (2)
  int32_t hits;     // plays in the period; for the log the time of the play
  int32_t lastPos;  // 0-based position in the previous period's list, -1 for none
};
#pragma pack(pop)
static_assert(sizeof(HitListItem) == 12, "HitListItem layout");

// List types (`_type`).
enum ListType : int32_t { kListSongs = 0, kListAlbums = 1, kListArtists = 2, kListLog = 3 };
// Period choices (`_period`).
enum PeriodChoice : int32_t {
  kPeriodDay = 0,
  kPeriodWeek = 1,
  kPeriodMonth = 2,
  kPeriodYear = 3,
  kPeriodAll = 4,
  kPeriodUser = 5
};
// Filter types (`_filter`).
enum FilterType : int32_t {
  kFilterNone = 0,
  kFilterAlbum = 1,
  kFilterArtist = 2,
  kFilterPlaylist = 3
};
// Position modes of GetHitList.
enum PositionMode : int32_t { kPosNone = 0, kPosCompare = 1, kPosComparisonPass = 2 };

#pragma pack(push, 1)
// The hit list's part of the settings file (offset 40): what the list shows. The field names
// are those the settings file gives them.
struct HitListSettings {
  int32_t _type;    // ListType
  int32_t _period;  // PeriodChoice
  int32_t _check;   // last-played column: 0 none, 1 days, 2 date and time
  int32_t _start;   // period bounds, seconds since 1970
  int32_t _end;
  int32_t _size;    // requested length ("Show Top")
  int32_t _pos;     // show the previous position
  int32_t _change;  // show the change of position
};
#pragma pack(pop)
static_assert(sizeof(HitListSettings) == 32, "HitListSettings layout");

// Room for the longest filter entry: two 49-character names joined by " - ", and a NUL.
constexpr int kFilterSize = 102;

}  // namespace spinox
