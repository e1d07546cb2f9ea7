#include "hitlist/view.h"

#include <algorithm>

#include "base/clock.h"
#include "base/file.h"
#include "base/text.h"
#include "db/paths.h"
#include "hitlist/period.h"
#include "hitlist/time_text.h"

namespace spinox {

namespace {

const char* const kTypeWords[] = {"Songs", "Albums", "Artists", "Log"};

const char* TypeWord(int32_t type) {
  return type >= 0 && type <= 3 ? kTypeWords[type] : "";
}

std::string Field(const char* text, size_t n) {
  return FieldText(text, n);
}

// The record of a row, read from the open record file; zeroed when it is not there.
template <typename Record>
Record ReadRecord(File& f, int32_t id) {
  Record rec = {};
  if (id < 0 || !f.Seek(static_cast<int64_t>(id) * static_cast<int64_t>(sizeof(Record))) ||
      !f.Read(&rec, sizeof rec))
    rec = Record{};
  return rec;
}

void AddTypeCells(File& f, const HitListItem& item, int32_t type, int32_t check,
                  const TimeFormats& formats, std::vector<std::string>* row) {
  if (type == kListAlbums) {
    AlbumRecord a = ReadRecord<AlbumRecord>(f, item.id);
    *row = {Field(a.album, kNameSize), Field(a.artist, kNameSize), std::to_string(item.hits)};
    return;
  }
  if (type == kListArtists) {
    ArtistRecord a = ReadRecord<ArtistRecord>(f, item.id);
    *row = {Field(a.name, kNameSize), std::to_string(item.hits)};
    return;
  }
  SongRecord s = ReadRecord<SongRecord>(f, item.id);
  *row = {Field(s.title, kNameSize), Field(s.artist, kNameSize), Field(s.album, kNameSize)};
  if (type == kListLog) {
    row->push_back(PlayedText(item.hits, formats));
    return;
  }
  row->push_back(std::to_string(item.hits));
  if (check == 1) row->push_back(DaysText(s.lastPlayed, ClockNow()));
  if (check == 2) row->push_back(PlayedText(s.lastPlayed, formats));
}

std::vector<std::string> RowCells(File& f, const HitListSettings& s, const HitListItem& item,
                                  int32_t i, int32_t type, const TimeFormats& formats) {
  std::vector<std::string> cells, rest;
  cells.push_back(std::to_string(i + 1));
  if (type != kListLog && s._period != kPeriodAll) {
    if (s._pos) cells.push_back(PrevText(i, item.lastPos));
    if (s._change) cells.push_back(ChngText(i, item.lastPos));
  }
  AddTypeCells(f, item, type, s._check, formats, &rest);
  cells.insert(cells.end(), rest.begin(), rest.end());
  return cells;
}

}  // namespace

std::vector<HitListColumn> ColumnSet(int32_t type, int32_t pos, int32_t change, int32_t period,
                                     int32_t check) {
  std::vector<HitListColumn> c = {{"#", kColumnLeft, 5}};
  if (type != kListLog && period != kPeriodAll) {
    if (pos) c.push_back({"Prev", kColumnCenter, 5});
    if (change) c.push_back({"Chng", kColumnCenter, 10});
  }
  if (type == kListAlbums) {
    c.insert(
        c.end(),
        {{"Album", kColumnLeft, 40}, {"Artist", kColumnLeft, 40}, {"Hits", kColumnCenter, 15}});
  } else if (type == kListArtists) {
    c.insert(c.end(), {{"Artist", kColumnLeft, 75}, {"Hits", kColumnCenter, 15}});
  } else if (type == kListLog) {
    c.insert(c.end(), {{"Title", kColumnLeft, 30},
                       {"Artist", kColumnLeft, 20},
                       {"Album", kColumnLeft, 20},
                       {"Played", kColumnLeft, 30}});
  } else {
    c.insert(c.end(), {{"Title", kColumnLeft, 20},
                       {"Artist", kColumnLeft, 20},
                       {"Album", kColumnLeft, 20},
                       {"Hits", kColumnCenter, 10}});
    if (check) c.push_back({"Last Played", kColumnLeft, 20});
  }
  return c;
}

std::vector<HitListColumn> CurrentColumns(const HitListSettings& s) {
  return ColumnSet(s._type, s._pos, s._change, s._period, s._check);
}

std::vector<int32_t> ColumnWidths(const std::vector<HitListColumn>& columns, int32_t listWidth) {
  int64_t sum = 0;
  for (const HitListColumn& c : columns) sum += c.weight;
  int64_t share = sum * 105 / 100;
  std::vector<int32_t> widths;
  for (const HitListColumn& c : columns)
    widths.push_back(share ? static_cast<int32_t>(int64_t{listWidth} * c.weight / share) : 0);
  return widths;
}

std::string PlayedText(int32_t t, const TimeFormats& formats) {
  std::string format = formats.date + " " + formats.time;
  return FormatLocalTime(t, format, kNameSize);
}

std::string DaysText(int32_t lastPlayed, int32_t now) {
  return std::to_string(DaysBetween(lastPlayed, now)) + " days";
}

std::string TitleLine(int32_t type, int32_t period, int32_t start, int32_t end, int32_t filter,
                      const std::string& filterValue, int32_t rows, const std::string& dateFormat) {
  std::string periodPart, filterPart;
  if (period != kPeriodAll)
    periodPart = "( " + FormatLocalTime(start, dateFormat, 40) + " - " +
                 FormatLocalTime(ShownEnd(period, end), dateFormat, 40) + " )";
  if (filter == kFilterAlbum) filterPart = "( Album = " + filterValue + " )";
  if (filter == kFilterArtist) filterPart = "( Artist = " + filterValue + " )";
  if (filter == kFilterPlaylist) filterPart = "( Winamp Playlist )";
  std::string count = std::to_string(rows);
  if (type == kListLog && period == kPeriodAll) return "Last " + count + " played " + filterPart;
  if (type == kListLog) return "Log " + periodPart + " " + filterPart;
  return "Top " + count + " " + TypeWord(type) + " " + periodPart + " " + filterPart;
}

HitListRows DisplayRows(ShownList& list, HitListItem* items, int32_t n, int32_t type,
                        const TimeFormats& formats) {
  const HitListSettings& s = list.settings;
  HitListRows out;
  const char* name = type == kListAlbums    ? kAlbumFile
                     : type == kListArtists ? kArtistFile
                                            : kSongFile;
  File f(FullPath(name), "rb");
  if (!f.IsOpen() || !items) return out;
  out.ok = true;
  for (int32_t i = 0; i < n && items[i].id != -1 && (items[i].hits > 0 || type == kListLog); ++i) {
    if (list._filter == kFilterPlaylist) --items[i].hits;
    out.cells.push_back(RowCells(f, s, items[i], i, type, formats));
  }
  list._hitlistsize = static_cast<int32_t>(out.cells.size());
  out.title = TitleLine(type, s._period, s._start, s._end, list._filter, FieldText(list._theFilter),
                        list._hitlistsize, formats.date);
  return out;
}

HitListRows RecomputeHitList(ShownList& list, HitListProgress* progress,
                             const TimeFormats& formats) {
  AllocateHitList(list, list.settings._size, false);
  int32_t n =
      std::min(std::max(list.settings._size, 0), static_cast<int32_t>(list._hitlist.size()));
  list._theFilter[kFilterSize - 1] = '\0';
  list._hitlistsize = GetHitList(QueryOf(list, progress), list._hitlist.data(), n);
  return DisplayRows(list, list._hitlist.data(), n, list.settings._type, formats);
}

}  // namespace spinox
