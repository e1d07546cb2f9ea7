#include "hitlist/period.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "base/file.h"
#include "db/paths.h"
#include "hitlist/hitlist.h"

namespace spinox {

namespace {

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t PeriodLength(int32_t period) {
  switch (period) {
    case kPeriodDay:
      return kDaySeconds;
    case kPeriodWeek:
      return kWeekSeconds;
    case kPeriodMonth:
      return kMonthSeconds;
    case kPeriodYear:
      return kYearSeconds;
    default:
      return 0;
  }
}

PeriodBounds BoundsOfPeriod(int32_t period, int32_t now, int32_t userFrom, int32_t userTo) {
  if (period == kPeriodUser) return PeriodBounds{userFrom, userTo};
  // Everything played, the play of this very second included (the end is not).
  if (period == kPeriodAll) return PeriodBounds{0, Clamp32(int64_t{now} + 1)};
  return PeriodBounds{Clamp32(static_cast<int64_t>(now) - PeriodLength(period)), now};
}

int32_t ShownEnd(int32_t period, int32_t end) {
  return period == kPeriodUser && end > INT32_MIN ? end - 1 : end;
}

void SetPeriodBounds(ShownList& list, int32_t now, int32_t userFrom, int32_t userTo) {
  HitListSettings& s = list.settings;
  PeriodBounds b = BoundsOfPeriod(s._period, now, userFrom, userTo);
  // Plays are stamped no earlier than the play before them, so after the clock was set back
  // the latest plays lie ahead of it; "All" still counts them.
  int32_t first = 0, last = 0;
  if (s._period == kPeriodAll && FirstAndLastPlay(&first, &last) && last >= b.end)
    b.end = Clamp32(int64_t{last} + 1);
  s._start = b.start;
  s._end = b.end;
  list._pivot = s._end;
}

ScrollArithmetic ComputeScroll(int32_t period, int32_t start, int32_t end, int32_t firstHit,
                               int32_t lastHit) {
  int64_t length = static_cast<int64_t>(end) - start;
  int32_t last = std::max(lastHit, end);
  ScrollArithmetic s{0, 0, firstHit, last};
  if (length != 0) {
    s.range = Clamp32((static_cast<int64_t>(last) - firstHit) / length + 1);
    s.pos = Clamp32((static_cast<int64_t>(end) - firstHit) / length + 1);
  }
  if (period != kPeriodUser) s.pos = s.range;
  return s;
}

ScrollBarState UpdateScrollBar(ShownList& list) {
  ScrollBarState bar;
  int32_t first = 0, last = 0;
  const HitListSettings& stored = list.settings;
  if (stored._period == kPeriodAll || !FirstAndLastPlay(&first, &last)) return bar;
  ScrollArithmetic s = ComputeScroll(stored._period, stored._start, stored._end, first, last);
  list._last = s.last;
  list._first = s.first;
  list._pivoti = s.pos;
  bar.enabled = true;
  bar.range = s.range;
  bar.pos = s.pos;
  return bar;
}

PeriodBounds StepPeriod(int32_t p, int32_t pivoti, int32_t pivot, int32_t start, int32_t end) {
  int64_t length = static_cast<int64_t>(end) - start;
  int32_t newEnd = Clamp32((static_cast<int64_t>(p) - pivoti) * length + pivot);
  return PeriodBounds{Clamp32(static_cast<int64_t>(newEnd) - length), newEnd};
}

void ScrollPeriod(ShownList& list, int32_t p) {
  HitListSettings& s = list.settings;
  PeriodBounds b = StepPeriod(p, list._pivoti, list._pivot, s._start, s._end);
  s._start = b.start;
  s._end = b.end;
}

std::string PrevText(int32_t row, int32_t lastPos) {
  if (lastPos < 0) return "-";
  return std::to_string(static_cast<int64_t>(lastPos) + 1);
}

std::string ChngText(int32_t row, int32_t lastPos) {
  if (lastPos < 0) return "*";
  if (lastPos == row) return "=";
  if (lastPos > row) return "+" + std::to_string(static_cast<int64_t>(lastPos) - row);
  return "-" + std::to_string(static_cast<int64_t>(row) - lastPos);
}

int32_t GetFilter(const std::string& entryText) {
  if (entryText == "Album") return kFilterAlbum;
  if (entryText == "Artist") return kFilterArtist;
  if (entryText == "Winamp Playlist") return kFilterPlaylist;
  return kFilterNone;
}

void CurrentHitlistPos(ShownList& list, const SongInfo& playing, void (*redraw)(int32_t row)) {
  if (list.lvPlaying != -1) {
    int32_t old = list.lvPlaying;
    list.lvPlaying = -1;
    if (redraw) redraw(old);
  }
  int32_t type = list.settings._type;
  RecId key = kNoId;
  if (type == kListSongs) key = playing.songId;
  if (type == kListAlbums) key = playing.albumId;
  if (type == kListArtists) key = playing.artistId;
  if (key == kNoId) return;
  // Only the rows on show have positions: a record past them (with no plays in the period, or
  // below the top) has none.
  int32_t n = std::min(list._hitlistsize, list.settings._size);
  for (int32_t i = 0; i < n; ++i) {
    const HitListItem* item = ShownItem(list, i);
    if (!item || item->id == -1) return;
    if (static_cast<RecId>(item->id) != key) continue;
    list.lvPlaying = i;
    if (redraw) redraw(i);
    return;
  }
}

bool FirstAndLastPlay(int32_t* first, int32_t* last) {
  File f(FullPath(kHitFile), "rb");
  int64_t count = f.IsOpen() ? f.Size() / static_cast<int64_t>(sizeof(HitRecord)) : 0;
  if (count <= 0) return false;
  return f.Seek(12) && f.Read(first, sizeof *first) &&
         f.Seek((count - 1) * static_cast<int64_t>(sizeof(HitRecord)) + 12) &&
         f.Read(last, sizeof *last);
}

}  // namespace spinox
