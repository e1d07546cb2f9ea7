// What the chart, html, m3u and osd commands share: the chart options, the settings they read
// and the computation of the list as the hit list window makes it.
#pragma once
#include <string>
#include <vector>

#include "base/player.h"
#include "hitlist/shown_list.h"
#include "hitlist/view.h"
#include "settings/settings.h"
#include "tool/args.h"

namespace spinox::cli {

extern const std::vector<std::string> kChartValued;
extern const std::vector<std::string> kChartFlags;
extern const char kChartOptionsHelp[];

// A player whose playlist is the entries of an .m3u or .m3u8 file (comment lines skipped,
// relative paths taken from the playlist's folder; a line that is not UTF-8 is read from the ANSI
// code page). It never plays.
class M3uPlayer : public Player {
 public:
  M3uPlayer() = default;
  ~M3uPlayer() override;
  M3uPlayer(const M3uPlayer&) = delete;
  M3uPlayer& operator=(const M3uPlayer&) = delete;
  // A playlist longer than this is refused rather than read into memory.
  static constexpr size_t kMaxPlaylistBytes = size_t{64} << 20;
  // False (with the reason in `why`) when the file cannot be read.
  bool Load(const std::string& path, std::string* why);
  int PlayState() override { return 0; }
  int TrackLength() override { return -1; }
  int PlaylistLength() override { return static_cast<int>(entries_.size()); }
  int PlaylistPosition() override { return 0; }
  bool PlaylistFile(int index, std::string* file) override;
  void ClearPlaylist() override {}
  bool LoadPlaylist(const std::string&) override { return false; }
  void LoadAnsiPlaylist(const std::string&) override {}
  void Play() override {}

 private:
  std::vector<std::string> entries_;
};

// Reads the settings from `settingsPath`, or when it is empty from the database folder's
// gen_spinox.dat, into `settings` and the hit list globals, its texts as stored; the defaults when
// there is no usable file. False (with a message) only when an explicitly named file cannot be
// used.
bool LoadToolSettings(const std::string& settingsPath, const char* command, Io& io,
                      Settings* settings);

// The tool's list on show (its settings are the chart options, not the settings file's) and
// what the hit list window would show of it.
struct Chart {
  Chart() = default;
  Chart(const Chart&) = delete;
  Chart& operator=(const Chart&) = delete;
  Settings settings = {};  // as loaded: the list's part is then the chart options'
  ShownList list{settings.list};
  std::vector<HitListColumn> columns;
  HitListRows rows;
};

// Points the tool at the database and the clock of the options, loads the settings (from
// --settings when `withSettings`), sets the chart's list from the chart options (the filter
// in the encoding of the stored names) and computes it as "Refresh Hitlist" does, stepped by
// --step; its rows and settings texts are then UTF-8. `player` backs --playlist. Returns an
// exit code.
int ComputeChart(const ParsedArgs& args, const char* command, Io& io, bool withSettings,
                 M3uPlayer* player, Chart* chart);

// Prints the chart options' usage lines after a command's own.
void PrintUsage(Io& io, const char* usage);

}  // namespace spinox::cli
