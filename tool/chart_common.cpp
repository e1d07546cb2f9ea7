#include "tool/chart_common.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "base/ansi_path.h"
#include "base/clock.h"
#include "base/codepage.h"
#include "base/file.h"
#include "base/text.h"
#include "db/lookup.h"
#include "db/paths.h"
#include "db/text_encoding.h"
#include "hitlist/hitlist.h"
#include "hitlist/period.h"
#include "hitlist/playlist.h"
#include "settings/settings.h"

namespace spinox::cli {

const std::vector<std::string> kChartValued = {
    "--db",    "--type",   "--period",   "--from",        "--to",   "--top",
    "--album", "--artist", "--playlist", "--last-played", "--step", "--now"};
const std::vector<std::string> kChartFlags = {"--prev", "--change"};

const char kChartOptionsHelp[] =
    "\nchart options:\n"
    "  --db DIR                 folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --type songs|albums|artists|log   list type (default songs)\n"
    "  --period day|week|month|year|all|range   period (default day)\n"
    "  --from DATE --to DATE    bounds of the period range\n"
    "  --top N                  length of the list (default 100)\n"
    "  --album \"ARTIST - ALBUM\" | --artist NAME | --playlist FILE.m3u   filter\n"
    "  --prev, --change         previous position and change columns\n"
    "  --last-played days|time  last-played column of the songs list\n"
    "  --step K                 move the period K lengths (negative: back)\n"
    "  --now DATE               the time taken as now\n"
    "DATE is YYYY-MM-DD[THH:MM[:SS]] in local time or @UNIXTIME.\n";

namespace {

int IndexOf(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

bool ParseInt(const std::string& text, long long lo, long long hi, int32_t* out) {
  if (text.empty() || text.size() > 12) return false;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || v < lo || v > hi) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

// Command-line text (UTF-8) in the encoding of the stored names it is compared with. False when
// that is the ANSI code page and it cannot hold the text: no stored name is then equal to it
// (its characters would be written as '?' and could find another name).
bool StoredFromArg(const std::string& arg, std::string* stored) {
  std::string utf8 = CleanUtf8(arg);
  if (StoredTextEncoding() == TextEncoding::kUtf8) return *stored = utf8, true;
  if (!AnsiHolds(utf8)) return false;
  *stored = Utf8ToAnsi(utf8);
  return true;
}

// The rows and title as well-formed UTF-8: the list is computed on the stored texts.
void RowsAsUtf8(TextEncoding encoding, HitListRows* rows) {
  rows->title = StoredTextAsUtf8(rows->title, encoding);
  for (auto& row : rows->cells)
    for (std::string& cell : row) cell = StoredTextAsUtf8(cell, encoding);
}

// Which filters the options panel offers for a list type.
bool FilterOffered(int32_t type, int32_t filter) {
  static const bool kOffered[4][4] = {{true, true, true, true},
                                      {true, false, true, true},
                                      {true, false, false, true},
                                      {true, true, true, false}};
  return kOffered[type][filter];
}

int ReadChoice(const ParsedArgs& args, const char* option, const std::vector<std::string>& names,
               int fallback, const char* command, Io& io, int32_t* out) {
  if (!args.values.count(option)) {
    *out = fallback;
    return kOk;
  }
  int i = IndexOf(names, args.Get(option));
  if (i < 0)
    return Fail(io, command, std::string("bad ") + option + " '" + args.Get(option) + "'",
                kBadUsage);
  *out = i;
  return kOk;
}

int ReadPeriod(const ParsedArgs& args, const char* command, Io& io, int32_t* period, int32_t* from,
               int32_t* to) {
  bool bounds = args.values.count("--from") || args.values.count("--to");
  int32_t fallback = bounds ? kPeriodUser : kPeriodDay;
  int rc = ReadChoice(args, "--period", {"day", "week", "month", "year", "all", "range"}, fallback,
                      command, io, period);
  if (rc != kOk) return rc;
  if (*period != kPeriodUser && bounds)
    return Fail(io, command, "--from and --to go with --period range", kBadUsage);
  if (*period != kPeriodUser) return kOk;
  if (!args.values.count("--from") || !args.values.count("--to"))
    return Fail(io, command, "--period range needs --from and --to", kBadUsage);
  if (!ReadDate(args, "--from", command, io, from) || !ReadDate(args, "--to", command, io, to))
    return kBadUsage;
  if (*from > *to)
    return Fail(io, command,
                "--from " + args.Get("--from") + " is later than --to " + args.Get("--to"),
                kBadUsage);
  return kOk;
}

int ReadFilter(const ParsedArgs& args, const char* command, Io& io, M3uPlayer* player,
               ShownList* list) {
  int32_t& filter = list->_filter;
  char(&value)[kFilterSize] = list->_theFilter;
  filter = kFilterNone;
  value[0] = '\0';
  bool held = true;  // the stored names' encoding holds the filter value
  int given = 0;
  for (const char* option : {"--album", "--artist", "--playlist"}) given += args.Has(option);
  if (given > 1) return Fail(io, command, "give one filter", kBadUsage);
  if (args.Has("--playlist")) {
    std::string why;
    if (!player || !player->Load(args.Get("--playlist"), &why))
      return Fail(io, command, "cannot read playlist '" + args.Get("--playlist") + "': " + why);
    if (player->PlaylistLength() == 0)
      return Fail(io, command, "playlist '" + args.Get("--playlist") + "' names no tracks");
    SetCurrentPlayer(player);
    filter = kFilterPlaylist;
  }
  for (const char* option : {"--album", "--artist"}) {
    if (!args.Has(option)) continue;
    std::string text;
    held = StoredFromArg(args.Get(option), &text);
    if (text.size() >= sizeof value)
      return Fail(io, command, std::string(option) + " value too long", kBadUsage);
    SetField(value, text);
    filter = std::string(option) == "--album" ? kFilterAlbum : kFilterArtist;
  }
  if (!FilterOffered(list->settings._type, filter))
    return Fail(io, command, "that filter is not offered for this list type", kBadUsage);
  if (filter != kFilterAlbum && filter != kFilterArtist) return kOk;
  // A filter that names nothing would show an empty chart titled as if filtered.
  bool album = filter == kFilterAlbum;
  if (held && (album ? FindAlbumBoth(value) : FindArtist(value)) != kNoId) return kOk;
  const char* option = album ? "--album" : "--artist";
  return Fail(io, command,
              std::string("no ") + (album ? "album" : "artist") + " '" + args.Get(option) +
                  "' in " + DataDir() + (album ? " (give \"ARTIST - ALBUM\")" : ""));
}

// The list's settings and filter from the chart options; the user-defined bounds into from
// and to.
int ReadOptions(const ParsedArgs& args, const char* command, Io& io, M3uPlayer* player,
                ShownList* list, int32_t* from, int32_t* to) {
  HitListSettings& s = list->settings;
  int rc = ReadChoice(args, "--type", {"songs", "albums", "artists", "log"}, kListSongs, command,
                      io, &s._type);
  if (rc == kOk) rc = ReadPeriod(args, command, io, &s._period, from, to);
  if (rc != kOk) return rc;
  s._size = 100;
  if (args.values.count("--top") && !ParseInt(args.Get("--top"), 1, kMaxListSize, &s._size))
    return Fail(io, command, "bad --top (1 to " + std::to_string(kMaxListSize) + ")", kBadUsage);
  rc = ReadChoice(args, "--last-played", {"none", "days", "time"}, 0, command, io, &s._check);
  if (rc != kOk) return rc;
  s._pos = args.Has("--prev");
  s._change = args.Has("--change");
  return ReadFilter(args, command, io, player, list);
}

void Compute(Chart* chart) {
  chart->columns = CurrentColumns(chart->list.settings);
  chart->rows = RecomputeHitList(chart->list, nullptr, TimeFormatsOf(chart->settings));
}

int Step(const ParsedArgs& args, const char* command, Io& io, Chart* chart) {
  int32_t k = 0;
  if (!ParseInt(args.Get("--step", "0"), INT32_MIN, INT32_MAX, &k))
    return Fail(io, command, "bad --step", kBadUsage);
  ShownList& list = chart->list;
  ScrollBarState bar = UpdateScrollBar(list);
  if (list.settings._start > list.settings._end) bar.enabled = false;
  if (k == 0) return kOk;
  if (!bar.enabled) return Fail(io, command, "this period cannot be stepped", kBadUsage);
  int64_t p = std::min<int64_t>(std::max<int64_t>(int64_t{list._pivoti} + k, 0), bar.range);
  ScrollPeriod(list, static_cast<int32_t>(p));
  Compute(chart);
  return kOk;
}

}  // namespace

M3uPlayer::~M3uPlayer() {
  if (CurrentPlayer() == this) SetCurrentPlayer(nullptr);
}

bool M3uPlayer::Load(const std::string& path, std::string* why) {
  std::vector<unsigned char> bytes;
  if (!ReadFileRange(path, 0, kMaxPlaylistBytes + 1, &bytes)) {
    *why = FileErrorText(errno);
    return false;
  }
  if (bytes.size() > kMaxPlaylistBytes) {
    *why = "it is larger than " + std::to_string(kMaxPlaylistBytes >> 20) + " MB";
    return false;
  }
  std::string folder = std::filesystem::u8path(path).parent_path().u8string();
  entries_ = PlaylistEntries(std::string(bytes.begin(), bytes.end()), folder);
  return true;
}

bool M3uPlayer::PlaylistFile(int index, std::string* file) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return false;
  const std::string& entry = entries_[static_cast<size_t>(index)];
  *file = entry.substr(0, Utf8CutLength(entry.data(), entry.size(), kPathSize - 1));
  return true;
}

bool LoadToolSettings(const std::string& settingsPath, const char* command, Io& io,
                      Settings* settings) {
  Settings rec;
  if (!settingsPath.empty()) {
    if (!ReadSettingsFile(settingsPath, &rec)) {
      std::string why = FileSize(settingsPath) < 0
                            ? FileErrorText(errno)
                            : "it is not a settings file (no SPX at its start)";
      Fail(io, command, "cannot use settings file '" + settingsPath + "': " + why);
      return false;
    }
  } else if (!ReadSettingsFile(FullPath(kSettingsFile), &rec)) {
    rec = DefaultSettings();
  }
  *settings = rec;
  return true;
}

int ComputeChart(const ParsedArgs& args, const char* command, Io& io, bool withSettings,
                 M3uPlayer* player, Chart* chart) {
  if (!UseDatabaseDir(args, command, io)) return kFailed;
  if (!ApplyNow(args, "--now", command, io)) return kBadUsage;
  if (!LoadToolSettings(withSettings ? args.Get("--settings") : "", command, io, &chart->settings))
    return kFailed;
  int32_t from = 0, to = 0;
  int rc = ReadOptions(args, command, io, player, &chart->list, &from, &to);
  if (rc != kOk) return rc;
  SetPeriodBounds(chart->list, ClockNow(), from, to);
  Compute(chart);
  rc = Step(args, command, io, chart);
  if (rc != kOk) return rc;
  if (!chart->rows.ok) return Fail(io, command, "no database in " + DataDir());
  // Computed on the stored texts throughout; shown in UTF-8.
  TextEncoding encoding = StoredTextEncoding();
  RowsAsUtf8(encoding, &chart->rows);
  RecodeSettingsTexts(&chart->settings, encoding == TextEncoding::kUtf8 ? CleanUtf8 : AnsiToUtf8);
  return kOk;
}

void PrintUsage(Io& io, const char* usage) {
  std::fprintf(io.out, "%s%s", usage, kChartOptionsHelp);
}

}  // namespace spinox::cli
